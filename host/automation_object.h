#pragma once

// Base of the host's COM objects: reference counting and QueryInterface, and for the automation
// objects IDispatch through the interface's type information (the component's own, so callers
// may bind early through the vtable or late by member name) and ISupportErrorInfo, so that
// callers know to read the error information the host raises. The host holds COM pointers, BSTRs
// and VARIANTs with the component's own owners.

#include <ole2.h>
#include <windows.h>

#include <atomic>
#include <new>
#include <string>
#include <type_traits>
#include <utility>

#include "base/error.h"
#include "com/com_ptr.h"
#include "com/dispatch.h"
#include "platform/windows/owners.h"
#include "platform/windows/wide.h"
#include "type_libraries.h"

namespace standin {

using quillmark::com::ComPtr;
using quillmark::windows::BstrText;
using quillmark::windows::MakeBstr;
using quillmark::windows::UniqueBstr;
using quillmark::windows::UniqueExceptionInfo;
using quillmark::windows::UniqueRegKey;
using quillmark::windows::UniqueVariant;

// Main answers IUnknown, its own IID and, when it is a dispatch interface, IDispatch; Base is Main
// or a class that implements part of it; each of Others answers its own IID.
template <class Main, class Base, class... Others>
class CountedObject : public Base, public Others... {
  public:
    CountedObject() = default;
    CountedObject(const CountedObject&) = delete;
    CountedObject& operator=(const CountedObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid == IID_IUnknown || iid == __uuidof(Main) ||
            (std::is_base_of_v<IDispatch, Main> && iid == IID_IDispatch))
            *out = static_cast<Main*>(this);
        ((iid == __uuidof(Others) ? void(*out = static_cast<Others*>(this)) : void()), ...);
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

  protected:
    virtual ~CountedObject() = default;

  private:
    std::atomic<ULONG> references_{1};  // objects may be used from more than one apartment
};

template <class Interface>
HRESULT LoadHostTypeInfo(ComPtr<ITypeInfo>& info) {
    return InterfaceTypeInfo(__uuidof(Interface), info);
}

template <class Interface>
class DispatchObject
    : public CountedObject<
          Interface,
          quillmark::com::DispatchThroughTypeInfo<Interface, &LoadHostTypeInfo<Interface>>,
          ISupportErrorInfo> {
  public:
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
        return iid == __uuidof(Interface) ? S_OK : S_FALSE;
    }
};

// Creates an object of the host with the one reference its creator owns.
template <class T, class... Arguments>
ComPtr<T> MakeObject(Arguments&&... arguments) {
    return ComPtr<T>::Adopt(new T(std::forward<Arguments>(arguments)...));
}

// Raises a COM error: sets the thread's error information to description and returns code.
inline HRESULT RaiseError(HRESULT code, const std::u16string& description) {
    ComPtr<ICreateErrorInfo> created;
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(CreateErrorInfo(created.Receive())) && SUCCEEDED(created.As(info))) {
        created->SetDescription(const_cast<LPOLESTR>(quillmark::windows::WidePtr(description)));
        created->SetSource(const_cast<LPOLESTR>(L"Stand-in host"));
        SetErrorInfo(0, info.Get());
    }
    return code;
}

// Runs an operation of the outside fakes and answers as their COM object: S_OK, or the code of
// the error it threw with that error's description as error information (none for an error
// without a description, as a system failure comes).
template <class Operation>
HRESULT Answer(Operation&& operation) {
    try {
        operation();
        return S_OK;
    } catch (const quillmark::Error& error) {
        if (!error.description().empty()) return RaiseError(error.code(), error.description());
        SetErrorInfo(0, nullptr);
        return error.code();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace standin
