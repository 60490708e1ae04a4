#pragma once

#include <oaidl.h>
#include <ole2.h>
#include <windows.h>

#include "com/com_ptr.h"

namespace quillmark::com {

// The type information of this component's interfaces, from the type library embedded in the
// DLL itself, so that late binding works whether or not the library is registered.
HRESULT LoadQuillmarkTypeInfo(const GUID& iid, ComPtr<ITypeInfo>& info);

// The type information of the host's module interface, from the host engine's registered type
// library.
HRESULT LoadModuleApiTypeInfo(ComPtr<ITypeInfo>& info);

}  // namespace quillmark::com
