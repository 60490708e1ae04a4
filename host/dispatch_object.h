#pragma once

// Base of the host's automation objects: reference counting, IDispatch through the interface's
// type information (so callers may bind early through the vtable or late by member name), and
// ISupportErrorInfo, so that callers know to read the error information the host raises.

#include <ole2.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shlwapi.h>

#include <atomic>
#include <utility>

#include "owners.h"
#include "record.h"
#include "type_libraries.h"

namespace standin {

template <class Interface>
class DispatchObject : public Interface, public ISupportErrorInfo {
  public:
    explicit DispatchObject(const char* className) : count_(className) {}
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        static const QITAB interfaces[] = {
            QITABENTMULTI2(DispatchObject, __uuidof(Interface), Interface),
            QITABENTMULTI(DispatchObject, IDispatch, Interface),
            QITABENT(DispatchObject, ISupportErrorInfo),
            {},
        };
        return QISearch(this, interfaces, iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        ITypeInfo* info = InterfaceTypeInfo(__uuidof(Interface));
        if (!info) return TYPE_E_CANTLOADLIBRARY;
        return ComPtr<ITypeInfo>(info).CopyTo(out);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        ITypeInfo* info = InterfaceTypeInfo(__uuidof(Interface));
        if (!info) return TYPE_E_CANTLOADLIBRARY;
        return DispGetIDsOfNames(info, names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override {
        ITypeInfo* info = InterfaceTypeInfo(__uuidof(Interface));
        if (!info) return TYPE_E_CANTLOADLIBRARY;
        return DispInvoke(static_cast<Interface*>(this), info, id, flags, params, result, exception,
                          argumentError);
    }

    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
        return iid == __uuidof(Interface) ? S_OK : S_FALSE;
    }

  protected:
    virtual ~DispatchObject() = default;

  private:
    std::atomic<ULONG> references_{1};  // objects may be used from more than one apartment
    InstanceCount count_;
};

// Creates an object of the host with the one reference its creator owns.
template <class T, class... Arguments>
ComPtr<T> MakeObject(Arguments&&... arguments) {
    return ComPtr<T>::Adopt(new T(std::forward<Arguments>(arguments)...));
}

}  // namespace standin
