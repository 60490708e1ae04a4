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

}  // namespace quillmark::windows
