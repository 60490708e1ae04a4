#include "platform/windows/registry_value.h"

#include <algorithm>
#include <iterator>

#include "platform/windows/owners.h"
#include "platform/windows/wide.h"
#include "platform/windows/win_error.h"

namespace quillmark::windows {

namespace {

// Most settings are short: one query usually reads them whole.
constexpr DWORD kFirstBufferUnits = 256;

std::u16string KindName(DWORD type) {
    static constexpr const char16_t* kNames[] = {u"REG_NONE",
                                                 u"REG_SZ",
                                                 u"REG_EXPAND_SZ",
                                                 u"REG_BINARY",
                                                 u"REG_DWORD",
                                                 u"REG_DWORD_BIG_ENDIAN",
                                                 u"REG_LINK",
                                                 u"REG_MULTI_SZ",
                                                 u"REG_RESOURCE_LIST",
                                                 u"REG_FULL_RESOURCE_DESCRIPTOR",
                                                 u"REG_RESOURCE_REQUIREMENTS_LIST",
                                                 u"REG_QWORD"};
    if (type < std::size(kNames)) return kNames[type];
    return u"kind " + FromWide(std::to_wstring(type));
}

}  // namespace

StoredValue ReadRegistryValue(HKEY root, const std::wstring& path, const std::wstring& name,
                              REGSAM view) {
    UniqueRegKey key;
    LSTATUS status = RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE | view, key.Receive());
    if (status == ERROR_FILE_NOT_FOUND) return {};
    if (status != ERROR_SUCCESS) ThrowWin32(static_cast<DWORD>(status));
    // Only text values are settings; other kinds, REG_EXPAND_SZ included (the automation runtime
    // never writes one, and expanding it would put the environment into outgoing mail), are
    // reported as such for readers to take for missing.
    std::wstring buffer(kFirstBufferUnits, L'\0');
    DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    status = RegGetValueW(key.Get(), nullptr, name.c_str(), RRF_RT_REG_SZ | RRF_NOEXPAND, nullptr,
                          buffer.data(), &bytes);
    // Someone else may lengthen the value between asking its size and reading it: ask again.
    while (status == ERROR_MORE_DATA) {
        buffer.assign(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        status = RegGetValueW(key.Get(), nullptr, name.c_str(), RRF_RT_REG_SZ | RRF_NOEXPAND,
                              nullptr, buffer.data(), &bytes);
    }
    if (status == ERROR_SUCCESS) {
        // The whole stored text, zeros inside it included; only the terminating zeros go.
        std::wstring_view text(buffer.data(),
                               std::min<size_t>(bytes / sizeof(wchar_t), buffer.size()));
        while (!text.empty() && text.back() == L'\0') text.remove_suffix(1);
        return StoredValue::Text(FromWide(text));
    }
    if (status == ERROR_FILE_NOT_FOUND) return {};
    if (status != ERROR_UNSUPPORTED_TYPE) ThrowWin32(static_cast<DWORD>(status));
    DWORD type = REG_NONE;
    status = RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, nullptr, nullptr);
    if (status == ERROR_FILE_NOT_FOUND) return {};  // deleted meanwhile
    if (status != ERROR_SUCCESS) ThrowWin32(static_cast<DWORD>(status));
    return StoredValue::OtherKind(KindName(type));
}

std::vector<std::u16string> SubkeysHolding(HKEY root, const std::wstring& path,
                                           const std::wstring& child) {
    std::vector<std::u16string> found;
    UniqueRegKey parent;
    LSTATUS status = RegOpenKeyExW(root, path.c_str(), 0, KEY_ENUMERATE_SUB_KEYS, parent.Receive());
    if (status == ERROR_FILE_NOT_FOUND) return found;
    if (status != ERROR_SUCCESS) ThrowWin32(static_cast<DWORD>(status));
    // Key names are at most 255 characters.
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(std::size(name));
        status =
            RegEnumKeyExW(parent.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) return found;
        if (status != ERROR_SUCCESS) ThrowWin32(static_cast<DWORD>(status));
        UniqueRegKey held;
        const std::wstring subkey = std::wstring(name, length) + L"\\" + child;
        if (RegOpenKeyExW(parent.Get(), subkey.c_str(), 0, KEY_QUERY_VALUE, held.Receive()) ==
            ERROR_SUCCESS)
            found.push_back(FromWide(std::wstring_view(name, length)));
    }
}

}  // namespace quillmark::windows
