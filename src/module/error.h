#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace quillmark {

// The one error type of the core. A failing call throws it with a description; routines that
// report errors quote that description, and the COM boundary turns it into an HRESULT.
class Error : public std::exception {
  public:
    // E_FAIL: the code used when a failure carries no code of its own.
    static constexpr std::int32_t kGenericFailure = static_cast<std::int32_t>(0x80004005);
    // The automation runtime's "object variable not set" error.
    static constexpr std::int32_t kObjectNotSet = static_cast<std::int32_t>(0x800A005B);

    explicit Error(std::u16string description, std::int32_t code = kGenericFailure);

    const std::u16string& description() const noexcept { return description_; }
    std::int32_t code() const noexcept { return code_; }
    const char* what() const noexcept override { return narrow_.c_str(); }

    // The error a call on an empty object reference raises.
    static Error ObjectNotSet();

  private:
    std::u16string description_;
    std::int32_t code_;
    std::string narrow_;
};

}  // namespace quillmark

namespace quillmark {

// The description of the exception being handled; for use inside a catch block. Errors of the
// core give their own description, anything else a fixed text for its kind.
std::u16string DescribeCurrentException();

}  // namespace quillmark
