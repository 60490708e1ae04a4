#pragma once

#include <oaidl.h>
#include <ole2.h>
#include <windows.h>

#include "com/com_ptr.h"

namespace quillmark::com {

// Loads the type information that describes one dual interface.
using TypeInfoLoader = HRESULT (*)(ComPtr<ITypeInfo>& info);

// The IDispatch half of a dual interface, answered from the interface's type information: names
// resolve to the type library's DISPIDs and Invoke calls the interface's own vtable, converting
// arguments and filling in defaults as the type library says.
template <class Interface, TypeInfoLoader Load>
class DispatchThroughTypeInfo : public Interface {
  public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** result) override {
        if (!result) return E_POINTER;
        *result = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        const HRESULT code = EnsureTypeInfo();
        if (FAILED(code)) return code;
        *result = ComPtr<ITypeInfo>(info_).Detach();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        const HRESULT code = EnsureTypeInfo();
        if (FAILED(code)) return code;
        return info_->GetIDsOfNames(names, count, ids);
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override {
        if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        const HRESULT code = EnsureTypeInfo();
        if (FAILED(code)) return code;
        if (!params)
            return info_->Invoke(static_cast<Interface*>(this), id, flags, params, result,
                                 exception, argumentError);
        // Omitted trailing arguments (the caller's "missing" marks, which come first in the
        // array) are dropped, so that the declared defaults apply: Wine's ITypeInfo::Invoke
        // would otherwise try to convert the marks themselves.
        DISPPARAMS given = *params;
        UINT omitted = 0;
        while (given.cNamedArgs == 0 && omitted < given.cArgs &&
               V_VT(&given.rgvarg[omitted]) == VT_ERROR &&
               V_ERROR(&given.rgvarg[omitted]) == DISP_E_PARAMNOTFOUND)
            ++omitted;
        given.rgvarg += omitted;
        given.cArgs -= omitted;
        const HRESULT invoked = info_->Invoke(static_cast<Interface*>(this), id, flags, &given,
                                              result, exception, argumentError);
        if (argumentError && (invoked == DISP_E_TYPEMISMATCH || invoked == DISP_E_PARAMNOTFOUND))
            *argumentError += omitted;
        return invoked;
    }

  private:
    HRESULT EnsureTypeInfo() {
        if (info_) return S_OK;
        return Load(info_);
    }

    ComPtr<ITypeInfo> info_;
};

}  // namespace quillmark::com
