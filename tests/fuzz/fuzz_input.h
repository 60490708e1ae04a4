#pragma once

// Reads a fuzz input as a few choices and UTF-16 texts. The bytes spell the texts so that the
// dictionaries' ASCII words come out as they read, while any code unit and runs stay reachable:
//   0x00            ends the current text
//   0x01 ... 0xFD   the code unit of that value (ASCII and most of Latin-1)
//   0xFE n          the last unit of the text (a space when there is none) n more times
//   0xFF hi lo      the code unit hi*256+lo, any unit at all: NUL, surrogates, Latin Extended-A
// A text is cut at the limit its reader gives; the rest of it is skipped.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace quillmark::fuzzing {

class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    // The next byte, or 0 once the input is used up.
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }

    std::u16string Text(std::size_t limit) {
        std::u16string text;
        while (at_ < size_) {
            const std::uint8_t byte = data_[at_++];
            if (byte == 0x00) break;
            if (byte < 0xFE) {
                Append(text, 1, byte, limit);
            } else if (byte == 0xFE) {
                const char16_t last = text.empty() ? u' ' : text.back();
                Append(text, Byte(), last, limit);
            } else {
                Append(text, 1, Unit(), limit);
            }
        }
        return text;
    }

  private:
    char16_t Unit() {
        const std::uint8_t high = Byte();
        return static_cast<char16_t>(high << 8 | Byte());
    }

    static void Append(std::u16string& text, std::size_t count, char16_t unit, std::size_t limit) {
        text.append(std::min(count, limit - std::min(limit, text.size())), unit);
    }

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

}  // namespace quillmark::fuzzing
