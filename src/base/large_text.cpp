#include "base/large_text.h"

#include <stdexcept>

namespace quillmark {

SplicedText::SplicedText(std::initializer_list<std::u16string_view> pieces) {
    if (pieces.size() > kMostPieces) throw std::length_error("too many pieces of text");
    for (const auto piece : pieces) {
        pieces_[count_++] = piece;
        size_ += piece.size();
    }
}

std::u16string SplicedText::Join() const {
    std::u16string joined;
    joined.reserve(size_);
    for (const auto piece : *this) joined.append(piece);
    return joined;
}

}  // namespace quillmark
