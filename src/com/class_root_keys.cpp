#include "com/class_root_keys.h"

#include <ole2.h>

#include "platform/windows/win_error.h"

namespace quillmark::com {

namespace {

void CheckRegistry(LSTATUS status) {
    if (status != ERROR_SUCCESS) windows::ThrowWin32(static_cast<DWORD>(status));
}

void CheckDeleted(LSTATUS status) {
    if (status != ERROR_FILE_NOT_FOUND) CheckRegistry(status);
}

}  // namespace

std::wstring GuidText(const GUID& guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

windows::UniqueRegKey CreateClassKey(const std::wstring& path, const std::wstring& value,
                                     REGSAM view) {
    windows::UniqueRegKey key;
    CheckRegistry(RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, KEY_WRITE | view, nullptr, key.Receive(),
                                  nullptr));
    SetTextValue(key, nullptr, value);
    return key;
}

void SetTextValue(const windows::UniqueRegKey& key, const wchar_t* name,
                  const std::wstring& value) {
    CheckRegistry(RegSetValueExW(key.Get(), name, 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))));
}

void DeleteClassKey(const std::wstring& path, REGSAM view) {
    CheckDeleted(RegDeleteKeyExW(HKEY_CLASSES_ROOT, path.c_str(), view, 0));
}

void DeleteClassTree(const std::wstring& path) {
    CheckDeleted(RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str()));
}

}  // namespace quillmark::com
