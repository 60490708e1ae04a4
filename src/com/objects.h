#pragma once

#include <windows.h>

#include "com/com_error.h"

namespace quillmark::com {

// Create a new instance of one of the component's classes and ask it for iid.
HRESULT CreateQuillmarkObject(REFIID iid, void** result);
HRESULT CreateTimeZoneObject(REFIID iid, void** result);

// Creates an object whose reference count starts at one and hands out the interface asked for.
template <class Object, class... Arguments>
HRESULT CreateObjectWith(REFIID iid, void** result, Arguments... arguments) {
    if (!result) return E_POINTER;
    *result = nullptr;
    Object* object = nullptr;
    const HRESULT created = Guarded([&] { object = new Object(arguments...); });
    if (FAILED(created)) return created;
    const HRESULT code = object->QueryInterface(iid, result);
    object->Release();
    return code;
}

template <class Object>
HRESULT CreateObject(REFIID iid, void** result) {
    return CreateObjectWith<Object>(iid, result);
}

}  // namespace quillmark::com
