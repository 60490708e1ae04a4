#pragma once

// Searching text for a word code unit for code unit, in the time of a fraction of one read of the
// text: a Horspool search on pairs of units, where the two text units under the end of the word
// decide how far the word may move on. Ordinary text rarely holds a pair of the word, so the word
// mostly moves on by its whole length less one and most of a long body is skipped, not read.
//
//   const PlainSearch search(foldedWord);               // the word, already upper-cased
//   std::size_t at = search.Find(foldedWindow, from);   // npos when the window holds none

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillmark::stamping {

class PlainSearch {
  public:
    // The word must outlive the search.
    constexpr explicit PlainSearch(std::u16string_view word) : word_(word) {
        // A pair of the word that starts at i ends the word when it moves on by size - 2 - i; a
        // pair found nowhere lets it move on by size - 1. Pairs are kept by the low six bits of
        // each unit; pairs that share them can only shorten a jump, never skip a match.
        const std::size_t longest = word.size() < 2 ? 1 : word.size() - 1;
        jumps_.fill(Jump(longest));
        for (std::size_t i = 0; i + 2 < word.size(); ++i) {
            jumps_[Pair(word[i], word[i + 1])] = Jump(word.size() - 2 - i);
        }
    }

    // The position of the first occurrence at or after `from`, or npos. An empty word is found
    // at `from`.
    constexpr std::size_t Find(std::u16string_view text, std::size_t from = 0) const {
        if (word_.empty()) return from <= text.size() ? from : std::u16string_view::npos;
        const std::size_t last = word_.size() - 1;
        if (last == 0) return text.find(word_[0], from);
        for (std::size_t at = from; at + last < text.size();
             at += jumps_[Pair(text[at + last - 1], text[at + last])]) {
            if (text[at + last] == word_[last] && text.substr(at, word_.size()) == word_) {
                return at;
            }
        }
        return std::u16string_view::npos;
    }

  private:
    static constexpr std::size_t Pair(char16_t first, char16_t second) {
        return (static_cast<std::size_t>(first & 0x3F) << 6) | (second & 0x3F);
    }
    // Jumps beyond what a table entry holds are shortened, which is always safe.
    static constexpr std::uint16_t Jump(std::size_t units) {
        return static_cast<std::uint16_t>(std::min<std::size_t>(units, UINT16_MAX));
    }

    std::u16string_view word_;
    std::array<std::uint16_t, 64 * 64> jumps_{};
};

}  // namespace quillmark::stamping
