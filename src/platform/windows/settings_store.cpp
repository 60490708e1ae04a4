#include "platform/windows/settings_store.h"

#include <windows.h>

#include "platform/windows/owners.h"
#include "platform/windows/registry_value.h"
#include "platform/windows/wide.h"
#include "platform/windows/win_error.h"

namespace quillmark::windows {

namespace {

constexpr wchar_t kSettingsRoot[] = L"Software\\VB and VBA Program Settings";

std::wstring SectionPath(const std::u16string& application, const std::u16string& section) {
    return std::wstring(kSettingsRoot) + L"\\" + ToWide(application) + L"\\" + ToWide(section);
}

void CheckStatus(LSTATUS status) {
    if (status != ERROR_SUCCESS) ThrowWin32(static_cast<DWORD>(status));
}

}  // namespace

std::u16string RegistrySettingsStore::Read(const std::u16string& application,
                                           const std::u16string& section, const std::u16string& key,
                                           const std::u16string& fallback) {
    StoredValue value = Inspect(application, section, key);
    return value.IsText() ? std::move(value.text) : fallback;
}

void RegistrySettingsStore::Write(const std::u16string& application, const std::u16string& section,
                                  const std::u16string& key, const std::u16string& value) {
    UniqueRegKey sectionKey;
    CheckStatus(RegCreateKeyExW(HKEY_CURRENT_USER, SectionPath(application, section).c_str(), 0,
                                nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                                sectionKey.Receive(), nullptr));
    const std::wstring data = ToWide(value);
    CheckStatus(RegSetValueExW(sectionKey.Get(), ToWide(key).c_str(), 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(data.c_str()),
                               static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))));
}

StoredValue RegistrySettingsStore::Inspect(const std::u16string& application,
                                           const std::u16string& section,
                                           const std::u16string& key) {
    return ReadRegistryValue(HKEY_CURRENT_USER, SectionPath(application, section), ToWide(key));
}

std::vector<std::u16string> RegistrySettingsStore::ApplicationsWith(const std::u16string& section) {
    return SubkeysHolding(HKEY_CURRENT_USER, kSettingsRoot, ToWide(section));
}

std::u16string RegistrySettingsStore::Location(const std::u16string& application,
                                               const std::u16string& section) {
    return u"HKEY_CURRENT_USER\\" + FromWide(SectionPath(application, section));
}

}  // namespace quillmark::windows
