#pragma once

// Searching text for a word code unit for code unit, in the time of a fraction of one read of the
// text: a Horspool search, where the text unit under the word's last unit decides how far the
// word may move on, so most of a long body is skipped instead of read.
//
//   constexpr PlainSearch kMarker(u"-----Original Message");
//   std::size_t at = kMarker.Find(body);   // npos when the body has no marker

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillmark::stamping {

class PlainSearch {
  public:
    // The word must outlive the search.
    constexpr explicit PlainSearch(std::u16string_view word) : word_(word) {
        // Jumps are kept per low byte of the unit; units that share a low byte can only shorten
        // a jump, never skip a match.
        jumps_.fill(word.size());
        for (std::size_t i = 0; i + 1 < word.size(); ++i) {
            jumps_[word[i] & 0xFF] = word.size() - 1 - i;
        }
    }

    // The position of the first occurrence at or after `from`, or npos. An empty word is found
    // at `from`.
    constexpr std::size_t Find(std::u16string_view text, std::size_t from = 0) const {
        if (word_.empty()) return from <= text.size() ? from : std::u16string_view::npos;
        const std::size_t last = word_.size() - 1;
        for (std::size_t at = from; at + last < text.size(); at += jumps_[text[at + last] & 0xFF]) {
            if (text[at + last] == word_[last] && text.substr(at, word_.size()) == word_) {
                return at;
            }
        }
        return std::u16string_view::npos;
    }

  private:
    std::u16string_view word_;
    std::array<std::size_t, 256> jumps_{};
};

}  // namespace quillmark::stamping
