// The four entry points of the in-process server; the .def file exports them by name and
// ordinal. There is no DllMain of our own: nothing is done at load or unload.

#include <windows.h>

#include "Quillmark.h"
#include "com/class_factory.h"
#include "com/module_lifetime.h"
#include "com/objects.h"
#include "com/registration.h"

using namespace quillmark::com;

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    if (clsid == CLSID_CQuillmark) return CreateClassFactory(CreateQuillmarkObject, iid, result);
    if (clsid == CLSID_CTimeZone) return CreateClassFactory(CreateTimeZoneObject, iid, result);
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() {
    return ModuleInUse() ? S_FALSE : S_OK;
}

STDAPI DllRegisterServer() {
    return RegisterServer();
}

STDAPI DllUnregisterServer() {
    return UnregisterServer();
}
