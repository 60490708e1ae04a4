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
    StoredValue value =
        ReadRegistryValue(HKEY_CURRENT_USER, SectionPath(application, section), ToWide(key));
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

}  // namespace quillmark::windows
