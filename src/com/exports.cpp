// The four entry points of the in-process server; the .def file exports them by name and
// ordinal. There is no DllMain of our own: nothing is done at load or unload.

#include <windows.h>

#include "com/class_factory.h"
#include "com/classes.h"
#include "com/module_lifetime.h"
#include "com/registration.h"

using namespace quillmark::com;

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    const ClassEntry* entry = FindClass(clsid);
    if (!entry) return CLASS_E_CLASSNOTAVAILABLE;
    return CreateClassFactory(entry->create, iid, result);
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
