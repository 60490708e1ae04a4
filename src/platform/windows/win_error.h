#pragma once

#include <windows.h>

#include <string>

namespace quillmark::windows {

// The system's text for an HRESULT or Win32 error code, without the trailing line break.
std::u16string SystemMessage(HRESULT code);

// Throws quillmark::Error with the system's text for the code.
[[noreturn]] void ThrowHresult(HRESULT code);
[[noreturn]] void ThrowWin32(DWORD code);

// For the system's own calls: throws as ThrowHresult when the call failed; returns the code
// otherwise. Calls on outside objects take the callee's description instead (com_error.h).
inline HRESULT CheckWithSystemText(HRESULT code) {
    if (FAILED(code)) ThrowHresult(code);
    return code;
}

}  // namespace quillmark::windows
