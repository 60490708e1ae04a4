#include "stamping/rtf_escape.h"

#include <cstdint>

namespace quillmark::stamping {

std::u16string EscapeForRtf(std::u16string_view text) {
    std::u16string escaped;
    escaped.reserve(text.size());
    for (const char16_t unit : text) {
        if (unit == u'\\' || unit == u'{' || unit == u'}') {
            escaped += u'\\';
            escaped += unit;
        } else if (unit > 127) {
            const std::string number = std::to_string(static_cast<std::int16_t>(unit));
            escaped += u"\\u";
            escaped.append(number.begin(), number.end());
            escaped += u'?';
        } else {
            escaped += unit;
        }
    }
    return escaped;
}

}  // namespace quillmark::stamping
