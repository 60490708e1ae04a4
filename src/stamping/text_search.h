#pragma once

// Case-insensitive search and replacement in linear time: the text and the word are each folded
// once with the locale's upper-casing, which maps code unit to code unit, and the folded copies
// are searched plainly. Positions in a folded copy are positions in the original.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace quillmark::stamping {

bool ContainsIgnoringCase(CaseFolding& folding, std::u16string_view text, std::u16string_view word);

// The position of the first or the last occurrence of word, or npos. An empty word is found at
// the first position.
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
