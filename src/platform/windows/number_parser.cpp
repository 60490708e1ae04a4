#include "platform/windows/number_parser.h"

#include <windows.h>
// After windows.h, which it needs.
#include <oleauto.h>

#include "platform/windows/wide.h"
#include "platform/windows/win_error.h"

namespace quillmark::windows {

std::int32_t VariantNumberParser::ToInt32(const std::u16string& text) {
    // The declaration takes a writable string, so the call gets its own copy.
    std::wstring input = ToWide(text);
    LONG value = 0;
    CheckWithSystemText(VarI4FromStr(input.data(), LOCALE_USER_DEFAULT, 0, &value));
    return static_cast<std::int32_t>(value);
}

}  // namespace quillmark::windows
