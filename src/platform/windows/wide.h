#pragma once

// On Windows wchar_t is a UTF-16 code unit, so core text and Win32 wide text convert unit for
// unit.

#include <string>
#include <string_view>

namespace quillmark::windows {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide text is UTF-16");

inline std::wstring ToWide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

inline std::u16string FromWide(std::wstring_view text) {
    return std::u16string(text.begin(), text.end());
}

inline const wchar_t* WidePtr(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

}  // namespace quillmark::windows
