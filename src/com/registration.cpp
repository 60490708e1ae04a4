#include "com/registration.h"

#include <oleauto.h>

#include <string>

#include "Quillmark.h"
#include "com/classes.h"
#include "com/com_error.h"
#include "com/com_ptr.h"
#include "platform/windows/module_file.h"
#include "platform/windows/owners.h"
#include "platform/windows/win_error.h"

namespace quillmark::com {

namespace {

using windows::ThisModulePath;
using windows::UniqueRegKey;

constexpr WORD kLibraryMajor = 1;
constexpr WORD kLibraryMinor = 2;

#ifdef _WIN64
constexpr SYSKIND kSysKind = SYS_WIN64;
#else
constexpr SYSKIND kSysKind = SYS_WIN32;
#endif

std::wstring GuidText(const GUID& guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

std::wstring ClsidKeyPath(const CLSID& clsid) {
    return L"CLSID\\" + GuidText(clsid);
}

void CheckRegistry(LSTATUS status) {
    if (status != ERROR_SUCCESS) windows::ThrowWin32(static_cast<DWORD>(status));
}

// Creates (or opens) a key below HKEY_CLASSES_ROOT and sets its default value.
UniqueRegKey CreateKey(const std::wstring& path, const std::wstring& defaultValue) {
    UniqueRegKey key;
    CheckRegistry(RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, key.Receive(),
                                  nullptr));
    CheckRegistry(RegSetValueExW(key.Get(), nullptr, 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(defaultValue.c_str()),
                                 static_cast<DWORD>((defaultValue.size() + 1) * sizeof(wchar_t))));
    return key;
}

void SetText(const UniqueRegKey& key, const wchar_t* name, const std::wstring& value) {
    CheckRegistry(RegSetValueExW(key.Get(), name, 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))));
}

void DeleteTreeIfPresent(const std::wstring& path) {
    const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
    if (status != ERROR_FILE_NOT_FOUND) CheckRegistry(status);
}

void WriteClassKeys(const ClassEntry& entry, const std::wstring& modulePath) {
    const std::wstring clsidPath = ClsidKeyPath(entry.clsid);
    CreateKey(clsidPath, entry.progId);
    const UniqueRegKey server = CreateKey(clsidPath + L"\\InprocServer32", modulePath);
    SetText(server, L"ThreadingModel", L"Apartment");
    CreateKey(clsidPath + L"\\ProgID", entry.progId);
    CreateKey(entry.progId, entry.progId);
    CreateKey(std::wstring(entry.progId) + L"\\CLSID", GuidText(entry.clsid));
}

void RegisterLibrary(std::wstring modulePath) {
    ComPtr<ITypeLib> library;
    windows::Check(LoadTypeLibEx(modulePath.c_str(), REGKIND_NONE, library.Receive()));
    windows::Check(RegisterTypeLib(library.Get(), modulePath.data(), nullptr));
}

void UnregisterLibrary() {
    ComPtr<ITypeLib> library;
    windows::Check(LoadTypeLibEx(ThisModulePath().c_str(), REGKIND_NONE, library.Receive()));
    TLIBATTR* attributes = nullptr;
    windows::Check(library->GetLibAttr(&attributes));
    const LCID locale = attributes->lcid;
    library->ReleaseTLibAttr(attributes);
    // Not registered (any more) is what unregistration wants.
    windows::UniqueBstr registeredPath;
    if (FAILED(QueryPathOfRegTypeLib(LIBID_Quillmark, kLibraryMajor, kLibraryMinor, locale,
                                     registeredPath.Receive())))
        return;
    windows::Check(
        UnRegisterTypeLib(LIBID_Quillmark, kLibraryMajor, kLibraryMinor, locale, kSysKind));
}

}  // namespace

HRESULT RegisterServer() {
    return Guarded([] {
        const std::wstring modulePath = ThisModulePath();
        RegisterLibrary(modulePath);
        for (const ClassEntry& entry : Classes()) WriteClassKeys(entry, modulePath);
    });
}

HRESULT UnregisterServer() {
    return Guarded([] {
        for (const ClassEntry& entry : Classes()) {
            DeleteTreeIfPresent(ClsidKeyPath(entry.clsid));
            DeleteTreeIfPresent(entry.progId);
        }
        UnregisterLibrary();
    });
}

}  // namespace quillmark::com
