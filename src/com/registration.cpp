#include "com/registration.h"

#include <string>

#include "Quillmark.h"
#include "com/class_root_keys.h"
#include "com/classes.h"
#include "com/com_error.h"
#include "com/type_library_registration.h"
#include "platform/windows/module_file.h"

namespace quillmark::com {

namespace {

using windows::ThisModulePath;
using windows::UniqueRegKey;

std::wstring ClsidKeyPath(const CLSID& clsid) {
    return L"CLSID\\" + GuidText(clsid);
}

void WriteClassKeys(const ClassEntry& entry, const std::wstring& modulePath) {
    const std::wstring clsidPath = ClsidKeyPath(entry.clsid);
    CreateClassKey(clsidPath, entry.progId);
    const UniqueRegKey server = CreateClassKey(clsidPath + L"\\InprocServer32", modulePath);
    SetTextValue(server, L"ThreadingModel", L"Apartment");
    CreateClassKey(clsidPath + L"\\ProgID", entry.progId);
    CreateClassKey(entry.progId, entry.progId);
    CreateClassKey(std::wstring(entry.progId) + L"\\CLSID", GuidText(entry.clsid));
}

}  // namespace

HRESULT RegisterServer() {
    return Guarded([] {
        const std::wstring modulePath = ThisModulePath();
        RegisterTypeLibrary(modulePath);
        for (const ClassEntry& entry : Classes()) WriteClassKeys(entry, modulePath);
    });
}

HRESULT UnregisterServer() {
    return Guarded([] {
        for (const ClassEntry& entry : Classes()) {
            DeleteClassTree(ClsidKeyPath(entry.clsid));
            DeleteClassTree(entry.progId);
        }
        UnregisterTypeLibrary(ThisModulePath());
    });
}

}  // namespace quillmark::com
