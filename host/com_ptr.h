#pragma once

// Owns one counted reference to a COM interface.

#include <ole2.h>
#include <windows.h>

#include <utility>

namespace standin {

template <class T>
class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(T* pointer) : pointer_(pointer) {  // NOLINT: takes a reference of its own
        if (pointer_) pointer_->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.pointer_) {}
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(pointer_, other.pointer_);
        return *this;
    }
    ~ComPtr() { Reset(); }

    // Takes over a reference the caller owns.
    static ComPtr Adopt(T* pointer) {
        ComPtr result;
        result.pointer_ = pointer;
        return result;
    }

    T* Get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

    void Reset() {
        if (pointer_) std::exchange(pointer_, nullptr)->Release();
    }
    // For an [out] argument: drops the current reference and receives a new one.
    T** Receive() {
        Reset();
        return &pointer_;
    }
    void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }

    template <class U>
    HRESULT As(ComPtr<U>& other) const {
        return pointer_->QueryInterface(__uuidof(U), other.ReceiveVoid());
    }
    HRESULT CopyTo(T** out) const {
        if (pointer_) pointer_->AddRef();
        *out = pointer_;
        return S_OK;
    }

  private:
    T* pointer_ = nullptr;
};

}  // namespace standin
