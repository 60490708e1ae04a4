#pragma once

// Small text helpers. Text in this component is UTF-16, like a COM string (std::u16string);
// the UTF-8 conversions serve diagnostics and tests.
//
//   Decimal(112)          // u"112"
//   ToUtf8(u"Heure")      // "Heure"

#include <string>
#include <string_view>

namespace quillmark {

std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

// The decimal digits of a number, with a leading "-" when it is negative.
std::u16string Decimal(long long value);

}  // namespace quillmark
