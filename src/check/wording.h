#pragma once

// Small helpers for the check's sentences.

#include <string>
#include <string_view>

namespace quillmark::check {

// The text between double quotes.
inline std::u16string Quoted(std::u16string_view text) {
    std::u16string quoted(u"\"");
    quoted.append(text).append(u"\"");
    return quoted;
}

// The text with an ASCII first letter in upper case, to begin a sentence.
inline std::u16string Capitalised(std::u16string_view text) {
    std::u16string sentence(text);
    if (!sentence.empty() && sentence[0] >= u'a' && sentence[0] <= u'z') sentence[0] -= u'a' - u'A';
    return sentence;
}

}  // namespace quillmark::check
