#pragma once

#include <ole2.h>
#include <oleauto.h>
#include <windows.h>

namespace quillmark::com {

// Owns one VARIANT and whatever it holds.
class Variant {
  public:
    Variant() { VariantInit(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { VariantClear(&value_); }

    VARIANT* Get() { return &value_; }
    const VARIANT* Get() const { return &value_; }
    // For out parameters: clears the current value first.
    VARIANT* Receive() {
        VariantClear(&value_);
        return &value_;
    }

  private:
    VARIANT value_;
};

}  // namespace quillmark::com
