#pragma once

#include "platform/platform.h"

namespace quillmark::windows {

// Per-user settings in the registry: one string value per key under
// HKCU\Software\VB and VBA Program Settings\<application>\<section>, the conventional place of
// automation settings, so that existing profiles keep working.
class RegistrySettingsStore : public SettingsStore {
  public:
    // A missing key or value, or a value that is not a plain string, gives the fall-back.
    std::u16string Read(const std::u16string& application, const std::u16string& section,
                        const std::u16string& key, const std::u16string& fallback) override;
    // Creates the key path as needed and stores the value as a plain string.
    void Write(const std::u16string& application, const std::u16string& section,
               const std::u16string& key, const std::u16string& value) override;
    StoredValue Inspect(const std::u16string& application, const std::u16string& section,
                        const std::u16string& key) override;
    // The application names under the settings root whose key holds the section.
    std::vector<std::u16string> ApplicationsWith(const std::u16string& section) override;
    std::u16string Location(const std::u16string& application,
                            const std::u16string& section) override;
};

}  // namespace quillmark::windows
