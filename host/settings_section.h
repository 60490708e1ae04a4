#pragma once

// The module's settings section in the per-user store, as the automation runtime keeps it:
// HKCU\Software\VB and VBA Program Settings\<application name>\Quillmark.

#include <map>
#include <string>

namespace standin {

class SettingsSection {
  public:
    SettingsSection();

    // Deletes the section with every value in it.
    void Reset() const;
    void Write(const std::wstring& name, const std::wstring& value) const;
    void Delete(const std::wstring& name) const;
    // The text values of the section by name; empty when the section does not exist.
    std::map<std::wstring, std::wstring> Read() const;

  private:
    std::wstring path_;
};

}  // namespace standin
