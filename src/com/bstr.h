#pragma once

#include <ole2.h>
#include <oleauto.h>
#include <windows.h>

#include <new>
#include <string>
#include <string_view>
#include <utility>

namespace quillmark::com {

// Owns one BSTR. An empty (null) BSTR is the empty text, as automation treats it.
class Bstr {
  public:
    Bstr() = default;
    explicit Bstr(std::u16string_view text)
        : value_(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                   static_cast<UINT>(text.size()))) {
        if (!value_) throw std::bad_alloc();
    }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& other) noexcept : value_(std::exchange(other.value_, nullptr)) {}
    Bstr& operator=(Bstr&& other) noexcept {
        std::swap(value_, other.value_);
        return *this;
    }
    ~Bstr() { SysFreeString(value_); }

    BSTR Get() const { return value_; }
    // For out and in/out parameters: the callee may free the value and store another.
    BSTR* Address() { return &value_; }
    BSTR* Receive() {
        SysFreeString(std::exchange(value_, nullptr));
        return &value_;
    }
    BSTR Detach() { return std::exchange(value_, nullptr); }

    std::u16string Text() const { return ToText(value_); }
    static std::u16string ToText(BSTR value) {
        return value ? std::u16string(reinterpret_cast<const char16_t*>(value), SysStringLen(value))
                     : std::u16string();
    }

  private:
    BSTR value_ = nullptr;
};

}  // namespace quillmark::com
