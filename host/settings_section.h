#pragma once

// The module's settings section in the per-user store, as the automation runtime keeps it:
// HKCU\Software\VB and VBA Program Settings\<application name>\Quillmark; and the module's
// policy keys, HKLM and HKCU\Software\Policies\Tolvane\Quillmark, in the system's own registry
// view, where Group Policy writes them.

#include <windows.h>

#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace standin {

// A value as the registry stores it: its kind and its bytes (a scenario's spelling of it is in
// host/README.md, under "settings").
struct RawValue {
    unsigned long type = 0;
    std::vector<unsigned char> bytes;
};

// Throws ScenarioError for a malformed value.
RawValue ParseRawValue(const nlohmann::json& value, const std::string& where);
// Text as a value of a text kind; by default as the automation runtime stores it: REG_SZ with its
// terminating zero.
RawValue TextValue(std::u16string text, unsigned long type = REG_SZ, bool terminated = true);

class SettingsSection {
  public:
    // The module's own section.
    SettingsSection();
    // The policy key of the machine or of the user.
    static SettingsSection Policies(bool machine);

    // Deletes the section with every value in it.
    void Reset() const;
    void Write(const std::u16string& name, const RawValue& value) const;
    void Delete(const std::u16string& name) const;
    // The values of the section by name; empty when the section does not exist. Text values
    // (REG_SZ) as they are, up to their terminating zeros; other kinds as "<REG_… hex-bytes>".
    std::map<std::u16string, std::u16string> Read() const;

  private:
    SettingsSection(HKEY root, std::wstring path, REGSAM view);

    HKEY root_;
    std::wstring path_;
    REGSAM view_;
};

}  // namespace standin
