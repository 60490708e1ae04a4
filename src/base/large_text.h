#pragma once

// Large texts (mail bodies) handed across the component's ports without extra copies.
//
//   SharedText body = mail.HTMLBody();          // the buffer the outside object filled, kept
//   mail.SetHTMLBody(SplicedText{head, stamp, tail});   // joined once, by whoever stores it
//
// A body of 25 MB costs a noticeable time and its size again in memory each time it is copied,
// so a body read from an outside object stays in the buffer it arrived in, and a new body goes
// out as the pieces it is made of, joined straight into the buffer that carries it on.

#include <array>
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace quillmark {

// Read-only text together with whatever keeps its characters alive.
class SharedText {
  public:
    SharedText() = default;
    // Holds a string of its own.
    SharedText(std::u16string text) {  // implicit: a string is such a text
        auto owned = std::make_shared<const std::u16string>(std::move(text));
        view_ = *owned;
        owner_ = std::move(owned);
    }
    // The characters of view, kept alive by owner.
    SharedText(std::u16string_view view, std::shared_ptr<const void> owner)
        : owner_(std::move(owner)), view_(view) {}

    std::u16string_view View() const { return view_; }
    operator std::u16string_view() const { return view_; }

  private:
    std::shared_ptr<const void> owner_;
    std::u16string_view view_;
};

// A text given as the pieces it is made of, in order. It refers to the pieces, which must outlive
// it; it is meant to be passed on at once.
class SplicedText {
  public:
    static constexpr std::size_t kMostPieces = 5;

    // Throws std::length_error beyond kMostPieces pieces.
    SplicedText(std::initializer_list<std::u16string_view> pieces);

    // Hands over the text the pieces are cut from, so that whoever stores the joined text can let
    // go of it once joined, before storing: a large body is then held twice at most, not three
    // times (read, joined, and stored by the receiver).
    SplicedText&& CutFrom(SharedText source) && {
        source_ = std::move(source);
        return std::move(*this);
    }
    // Lets go of the source handed over; the pieces are invalid from here on.
    void ReleaseSource() { source_ = SharedText(); }

    const std::u16string_view* begin() const { return pieces_.data(); }
    const std::u16string_view* end() const { return pieces_.data() + count_; }
    std::size_t size() const { return size_; }  // in code units, all pieces together

    // The pieces joined into one string.
    std::u16string Join() const;

  private:
    std::array<std::u16string_view, kMostPieces> pieces_{};
    std::size_t count_ = 0;
    std::size_t size_ = 0;
    SharedText source_;
};

}  // namespace quillmark
