#pragma once

// Writing and removing keys below HKEY_CLASSES_ROOT, as registration does. `view` selects the
// 32- or 64-bit registry view (KEY_WOW64_32KEY, KEY_WOW64_64KEY); 0 is this process's own.
// Failures throw quillmark::Error with the system's text.
//
//   UniqueRegKey server = CreateClassKey(L"CLSID\\{...}\\InprocServer32", modulePath);
//   SetTextValue(server, L"ThreadingModel", L"Apartment");

#include <windows.h>

#include <string>

#include "platform/windows/owners.h"

namespace quillmark::com {

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", as the registry names classes and interfaces.
std::wstring GuidText(const GUID& guid);

// Creates (or opens) the key and sets its default value.
windows::UniqueRegKey CreateClassKey(const std::wstring& path, const std::wstring& value,
                                     REGSAM view = 0);
void SetTextValue(const windows::UniqueRegKey& key, const wchar_t* name, const std::wstring& value);

// What is already gone is no failure.
void DeleteClassKey(const std::wstring& path, REGSAM view = 0);
void DeleteClassTree(const std::wstring& path);

}  // namespace quillmark::com
