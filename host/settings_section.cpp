#include "settings_section.h"

#include <windows.h>

#include <stdexcept>
#include <vector>

#include "host_library.h"
#include "owners.h"
#include "text.h"

namespace standin {

namespace {

[[noreturn]] void Fail(const char* what, const std::wstring& path, LSTATUS status) {
    throw std::runtime_error(std::string(what) + " " + WideToUtf8(path) + " failed with error " +
                             std::to_string(status));
}

}  // namespace

SettingsSection::SettingsSection()
    : path_(std::wstring(L"Software\\VB and VBA Program Settings\\") + kRegistryAppName +
            L"\\Quillmark") {}

void SettingsSection::Reset() const {
    const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) Fail("deleting", path_, status);
    RegDeleteKeyW(HKEY_CURRENT_USER, path_.c_str());
}

void SettingsSection::Write(const std::wstring& name, const std::wstring& value) const {
    UniqueRegKey key;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                     nullptr, key.Receive(), nullptr);
    if (status != ERROR_SUCCESS) Fail("creating", path_, status);
    status = RegSetValueExW(key.Get(), name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS) Fail("writing", path_ + L"\\" + name, status);
}

void SettingsSection::Delete(const std::wstring& name) const {
    UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_SET_VALUE, key.Receive()) !=
        ERROR_SUCCESS)
        return;
    const LSTATUS status = RegDeleteValueW(key.Get(), name.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        Fail("deleting", path_ + L"\\" + name, status);
}

std::map<std::wstring, std::wstring> SettingsSection::Read() const {
    std::map<std::wstring, std::wstring> values;
    UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_QUERY_VALUE, key.Receive()) !=
        ERROR_SUCCESS)
        return values;
    DWORD count = 0, longestName = 0, longestData = 0;
    RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                     &longestName, &longestData, nullptr, nullptr);
    std::vector<wchar_t> name(longestName + 1);
    std::vector<BYTE> data(longestData + sizeof(wchar_t));
    for (DWORD index = 0; index < count; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (RegEnumValueW(key.Get(), index, name.data(), &nameLength, nullptr, &type, data.data(),
                          &dataSize) != ERROR_SUCCESS ||
            type != REG_SZ)
            continue;
        std::wstring value(reinterpret_cast<const wchar_t*>(data.data()),
                           dataSize / sizeof(wchar_t));
        while (!value.empty() && value.back() == L'\0') value.pop_back();
        values.emplace(std::wstring(name.data(), nameLength), value);
    }
    return values;
}

}  // namespace standin
