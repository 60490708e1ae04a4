#pragma once

#include <string>
#include <string_view>

namespace quillmark::stamping {

// The text as RTF source: backslash and braces escaped, so that they cannot change the
// document's structure, and every code unit above 127 written as \uN? (N its signed 16-bit value,
// "?" the fallback for readers without Unicode), so that no character depends on the document's
// code page.
std::u16string EscapeForRtf(std::u16string_view text);

}  // namespace quillmark::stamping
