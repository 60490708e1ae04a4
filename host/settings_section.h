#pragma once

// The module's settings section in the per-user store, as the automation runtime keeps it:
// HKCU\Software\VB and VBA Program Settings\<application name>\Quillmark.

#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace standin {

// A value as the registry stores it: its kind and its bytes. Scenarios give it as
// {"type": "REG_DWORD" | "REG_BINARY" | "REG_EXPAND_SZ" | "REG_SZ" | "REG_MULTI_SZ",
//  "hex": "0500…"} or, for the text kinds, {"type": …, "text": "…", "terminated": false} (by
// default the text is stored with its terminating zero).
struct RawValue {
    unsigned long type = 0;
    std::vector<unsigned char> bytes;
};

// Throws ScenarioError for a malformed value.
RawValue ParseRawValue(const nlohmann::json& value, const std::string& where);

class SettingsSection {
  public:
    SettingsSection();

    // Deletes the section with every value in it.
    void Reset() const;
    void Write(const std::wstring& name, const std::wstring& value) const;
    void WriteRaw(const std::wstring& name, const RawValue& value) const;
    void Delete(const std::wstring& name) const;
    // The values of the section by name; empty when the section does not exist. Text values
    // (REG_SZ) as they are, up to their terminating zeros; other kinds as "<REG_… hex-bytes>".
    std::map<std::wstring, std::wstring> Read() const;

  private:
    std::wstring path_;
};

}  // namespace standin
