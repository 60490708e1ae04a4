#include "platform/portable/latin_case_folding.h"

namespace quillmark {

char16_t LatinCaseFolding::ToUpper(char16_t c) {
    if (c >= u'a' && c <= u'z') return c - 0x20;
    if (c < 0xE0) return c == 0xB5 ? char16_t{0x039C} : c;     // micro sign: Greek capital mu
    if (c <= 0xFE) return c == 0xF7 ? c : char16_t(c - 0x20);  // the division sign has no case
    if (c == 0xFF) return 0x0178;
    if (c < 0x100 || c > 0x17F) return c;
    if (c == 0x131) return u'I';  // dotless i
    if (c == 0x17F) return u'S';  // long s
    // Latin Extended-A pairs capital and small letter; the pairing flips parity at 0x139 and
    // again at 0x14A and 0x179.
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c % 2 == 0) ? c - 1 : c;
    if (c == 0x130 || c == 0x138 || c == 0x149 || c == 0x178) return c;
    return (c % 2 == 1) ? c - 1 : c;
}

std::u16string LatinCaseFolding::ToUpper(std::u16string_view text) {
    // ASCII first, in a loop simple enough for the compiler to vectorise; the rare units beyond
    // ASCII are then mapped one by one.
    std::u16string upper(text);
    char16_t beyondAscii = 0;
    for (char16_t& unit : upper) {
        beyondAscii |= unit & 0xFF80;
        unit -= static_cast<char16_t>(static_cast<char16_t>(unit - u'a') < 26 ? 0x20 : 0);
    }
    if (beyondAscii != 0) {
        for (std::size_t i = 0; i < upper.size(); ++i) {
            if (text[i] >= 0x80) upper[i] = ToUpper(text[i]);
        }
    }
    return upper;
}

}  // namespace quillmark
