#pragma once

// One owner for every resource that is given back by calling a close function: a handle (any
// pointer type: BSTR, HKEY, HLOCAL) is closed with its value, a structure that holds resources
// (VARIANT, EXCEPINFO) with its address. The owner can't be copied; moving hands the resource on.
//
//   using UniqueBstr = UniqueAny<BSTR, &SysFreeString>;
//   UniqueBstr name;
//   services->get_Name(name.Receive());   // freed when `name` goes, or at the next Receive()

#include <type_traits>
#include <utility>

namespace quillmark {

template <class T, auto Close>
class UniqueAny {
  public:
    UniqueAny() = default;
    explicit UniqueAny(T value) : value_(value) {}
    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;
    UniqueAny(UniqueAny&& other) noexcept : value_(std::exchange(other.value_, T{})) {}
    UniqueAny& operator=(UniqueAny&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.value_, T{}));
        return *this;
    }
    ~UniqueAny() { CloseValue(); }

    const T& Get() const { return value_; }
    T& Get() { return value_; }
    explicit operator bool() const requires std::is_pointer_v<T> { return value_ != nullptr; }

    // For an out parameter: closes what is held and lends the empty slot.
    T* Receive() {
        Reset();
        return &value_;
    }
    // For an in/out parameter: the callee may close the value and store another in its place.
    T* Address() { return &value_; }
    // Hands the resource to the caller, who closes it from then on.
    T Detach() { return std::exchange(value_, T{}); }
    void Reset(T value = T{}) {
        CloseValue();
        value_ = value;
    }

  private:
    void CloseValue() {
        if constexpr (std::is_pointer_v<T>) {
            if (value_) Close(std::exchange(value_, T{}));
        } else {
            Close(&value_);
            value_ = T{};
        }
    }

    T value_{};
};

}  // namespace quillmark
