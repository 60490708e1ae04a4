#pragma once

// Reads text back out of RTF source that holds no groups or control words of its own: "\\",
// "\{" and "\}" stand for the character after the backslash, "\uN?" for the code unit whose
// signed 16-bit value is N, and any other ASCII unit for itself. Source that such text cannot
// be written as (a bare brace, a backslash starting anything else, a unit above 127) gives
// nothing.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillmark::fuzzing {

inline std::optional<std::u16string> ReadRtfText(std::u16string_view source) {
    std::u16string text;
    std::size_t at = 0;
    while (at < source.size()) {
        const char16_t unit = source[at++];
        if (unit > 127 || unit == u'{' || unit == u'}') return std::nullopt;
        if (unit != u'\\') {
            text += unit;
            continue;
        }
        if (at == source.size()) return std::nullopt;
        const char16_t escaped = source[at++];
        if (escaped == u'\\' || escaped == u'{' || escaped == u'}') {
            text += escaped;
            continue;
        }
        if (escaped != u'u') return std::nullopt;
        const bool negative = at < source.size() && source[at] == u'-';
        if (negative) ++at;
        long value = 0;
        std::size_t digits = 0;
        for (; at < source.size() && source[at] >= u'0' && source[at] <= u'9'; ++at, ++digits) {
            value = value * 10 + (source[at] - u'0');
            if (value > 32768) return std::nullopt;
        }
        if (negative) value = -value;
        if (digits == 0 || value < -32768 || value > 32767) return std::nullopt;
        if (at == source.size() || source[at++] != u'?') return std::nullopt;
        text += static_cast<char16_t>(value);
    }
    return text;
}

}  // namespace quillmark::fuzzing
