#pragma once

// The one owner of COM interface pointers, shared by the component and its stand-in host
// (header-only).
//
//   ComPtr<ITypeLib> library;
//   LoadTypeLibEx(path, REGKIND_NONE, library.Receive());   // released when `library` goes

#include <ole2.h>
#include <unknwn.h>
#include <windows.h>

#include <utility>

namespace quillmark::com {

// Owns one counted reference to a COM interface.
template <class Interface>
class ComPtr {
  public:
    ComPtr() = default;
    // Takes a new reference of its own to the pointer.
    explicit ComPtr(Interface* pointer) : pointer_(pointer) {
        if (pointer_) pointer_->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.pointer_) {}
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(pointer_, other.pointer_);
        return *this;
    }
    ~ComPtr() { Reset(); }

    // Takes over a reference the caller owns, such as a new object's first one.
    static ComPtr Adopt(Interface* pointer) {
        ComPtr result;
        result.pointer_ = pointer;
        return result;
    }

    Interface* Get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

    void Reset() {
        if (Interface* old = std::exchange(pointer_, nullptr)) old->Release();
    }
    // For out parameters: drops the current reference and receives a new one.
    Interface** Receive() {
        Reset();
        return &pointer_;
    }
    void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }
    // For in/out parameters: the callee may release the reference and store another.
    Interface** Address() { return &pointer_; }
    // Hands the reference to the caller, e.g. into an out parameter.
    Interface* Detach() { return std::exchange(pointer_, nullptr); }
    // A new reference for an out parameter; this one keeps its own.
    HRESULT CopyTo(Interface** out) const {
        if (!out) return E_POINTER;
        *out = ComPtr(pointer_).Detach();
        return S_OK;
    }

    // QueryInterface for another interface; empty when the object does not have it.
    template <class Other>
    HRESULT As(ComPtr<Other>& result) const {
        if (!pointer_) return E_POINTER;
        return pointer_->QueryInterface(__uuidof(Other), result.ReceiveVoid());
    }

  private:
    Interface* pointer_ = nullptr;
};

}  // namespace quillmark::com
