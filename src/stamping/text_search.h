#pragma once

// Case-insensitive search and replacement in linear time: the text and the word are folded with
// the locale's upper-casing, each code unit once, and the folded copies are searched plainly. The
// folding maps code unit to code unit, so positions in a folded copy are positions in the
// original. Searches fold the text window by window from the end they start at, so a match near
// that end costs little however long the text.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace quillmark::stamping {

bool ContainsIgnoringCase(CaseFolding& folding, std::u16string_view text, std::u16string_view word);

// The position of the first or the last occurrence of word, or npos. An empty word is found at
// the start of the text by the first and at its end by the last.
std::size_t FindIgnoringCase(CaseFolding& folding, std::u16string_view text,
                             std::u16string_view word);
std::size_t FindLastIgnoringCase(CaseFolding& folding, std::u16string_view text,
                                 std::u16string_view word);

// Replaces every occurrence of token by value in one scan from the start; the scan resumes after
// each match, so text that a replacement inserts is never matched again. An empty token changes
// nothing.
std::u16string ReplaceIgnoringCase(CaseFolding& folding, std::u16string_view text,
                                   std::u16string_view token, std::u16string_view value);

}  // namespace quillmark::stamping
