#pragma once

#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <string>

namespace quillmark::type_library_writer {

// Throws for a failed call, naming the step and the HRESULT.
inline void Check(HRESULT code, const std::string& step) {
    if (SUCCEEDED(code)) return;
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(code));
    throw std::runtime_error(step + " failed with " + text);
}

}  // namespace quillmark::type_library_writer
