#include "platform/windows/settings_store.h"

#include <windows.h>

#include <algorithm>

#include "platform/windows/owners.h"
#include "platform/windows/wide.h"
#include "platform/windows/win_error.h"

namespace quillmark::windows {

namespace {

std::wstring SectionPath(const std::u16string& application, const std::u16string& section) {
    return L"Software\\VB and VBA Program Settings\\" + ToWide(application) + L"\\" +
           ToWide(section);
}

void CheckStatus(LSTATUS status) {
    if (status != ERROR_SUCCESS) ThrowWin32(static_cast<DWORD>(status));
}

}  // namespace

std::u16string RegistrySettingsStore::Read(const std::u16string& application,
                                           const std::u16string& section, const std::u16string& key,
                                           const std::u16string& fallback) {
    const std::wstring path = SectionPath(application, section);
    const std::wstring name = ToWide(key);
    // Only text values are settings; other kinds, REG_EXPAND_SZ included (the automation runtime
    // never writes one, and expanding it would put the environment into outgoing mail), read as
    // absent. A read never writes.
    DWORD bytes = 0;
    LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(),
                                  RRF_RT_REG_SZ | RRF_NOEXPAND, nullptr, nullptr, &bytes);
    std::wstring buffer;
    // Someone else may lengthen the value between asking its size and reading it: ask again.
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        buffer.assign(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        status = RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(),
                              RRF_RT_REG_SZ | RRF_NOEXPAND, nullptr, buffer.data(), &bytes);
        if (status == ERROR_SUCCESS) {
            // The whole stored text, zeros inside it included; only the terminating zeros go.
            std::wstring_view text(buffer.data(),
                                   std::min<size_t>(bytes / sizeof(wchar_t), buffer.size()));
            while (!text.empty() && text.back() == L'\0') text.remove_suffix(1);
            return FromWide(text);
        }
    }
    if (status == ERROR_FILE_NOT_FOUND || status == ERROR_UNSUPPORTED_TYPE) return fallback;
    ThrowWin32(static_cast<DWORD>(status));
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
