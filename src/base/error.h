#pragma once

// The one error type of the whole component, usable from every layer. A failing call throws
// quillmark::Error with a description (and the HRESULT when one is known); routines with an error
// handler catch everything and quote DescribeCurrentException(); the COM boundary turns the error
// back into an HRESULT plus error information.
//
//   try { store.Write(...); }
//   catch (...) { log.WriteLog(u"Error occurred.  Reason: " + DescribeCurrentException(), ...); }

#include <cstdint>
#include <exception>
#include <string>

namespace quillmark {

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

// The description of the exception being handled; for use inside a catch block. Errors of this
// component give their own description, anything else a fixed text for its kind.
std::u16string DescribeCurrentException();

}  // namespace quillmark
