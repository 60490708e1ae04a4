#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <oleauto.h>

#include <utility>

namespace quillmark::com {

// For a catch (...) block of a COM method: the HRESULT for the exception being handled, with its
// description published as the thread's error info. quillmark::Error gives its own code (E_FAIL
// when it has none); anything else is E_FAIL, or E_OUTOFMEMORY for std::bad_alloc.
HRESULT ReportCurrentException() noexcept;

// Runs the body of a COM method; no exception leaves it.
template <class Body>
HRESULT Guarded(Body&& body) noexcept {
    try {
        std::forward<Body>(body)();
        return S_OK;
    } catch (...) {
        return ReportCurrentException();
    }
}

// Throws quillmark::Error for a failed call on an outside object: the description is the
// callee's error info or, without one, the system's text for the code; the code is the HRESULT.
[[noreturn]] void ThrowOutsideFailure(HRESULT code);

// Makes one call on an outside object, which returns an HRESULT: error info left over from
// earlier calls is forgotten first, so that a failure is described by the callee's own, and a
// failure throws as ThrowOutsideFailure says. The call may throw an error of its own for a code
// that means more to its caller.
template <class Call>
void CallOutside(Call&& call) {
    SetErrorInfo(0, nullptr);
    const HRESULT code = std::forward<Call>(call)();
    if (FAILED(code)) ThrowOutsideFailure(code);
}

}  // namespace quillmark::com
