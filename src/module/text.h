#pragma once

#include <string>
#include <string_view>

namespace quillmark {

// Text in the core is UTF-16, like a COM string; these conversions serve diagnostics and tests.
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

}  // namespace quillmark
