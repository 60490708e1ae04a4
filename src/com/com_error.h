#pragma once

#include <windows.h>

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

// Calls on outside objects: forgets error info left over from earlier calls, so that a failure
// is described by the callee's own error info.
void ForgetErrorInfo();

// Throws quillmark::Error for a failed call on an outside object: the description is the
// callee's error info or, without one, the system's text for the code; the code is the HRESULT.
[[noreturn]] void ThrowOutsideFailure(HRESULT code);

inline void CheckOutside(HRESULT code) {
    if (FAILED(code)) ThrowOutsideFailure(code);
}

}  // namespace quillmark::com
