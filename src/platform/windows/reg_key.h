#pragma once

#include <windows.h>

#include <utility>

namespace quillmark::windows {

// Owns an open registry key.
class RegKey {
  public:
    RegKey() = default;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    RegKey(RegKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    ~RegKey() {
        if (key_) RegCloseKey(key_);
    }

    HKEY Get() const { return key_; }
    HKEY* Receive() {
        if (key_) RegCloseKey(std::exchange(key_, nullptr));
        return &key_;
    }

  private:
    HKEY key_ = nullptr;
};

}  // namespace quillmark::windows
