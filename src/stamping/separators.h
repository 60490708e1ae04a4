#pragma once

// The earlier-message separators: what mail clients write above the quoted message of a reply or
// forward, and where in a body the stamp goes so that it stands above the whole quoted thread.
//
//   const auto found = FindEarliestSeparator(BodyFormat::kHtml, body);
//   if (found) { /* the stamp goes at found->position; found->row->name says what was found */ }
//
// The rows are data (separator_table.h); one scan of the body looks for all of them at once, and
// the earliest separator wins, whatever its row: it is the top of the quoted thread, and the
// older headers below it belong to the messages quoted inside it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quillmark::stamping {

enum class BodyFormat : std::uint8_t { kHtml = 1, kRtf = 2, kPlain = 4 };

// The formats a row applies to, as a set of BodyFormat bits.
using FormatSet = std::uint8_t;
inline constexpr FormatSet kEveryFormat = 1 | 2 | 4;
constexpr FormatSet Formats(BodyFormat a) {
    return static_cast<FormatSet>(a);
}
constexpr FormatSet Formats(BodyFormat a, BodyFormat b) {
    return static_cast<FormatSet>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

// What a row's text is and where it must stand to count.
enum class SeparatorShape : std::uint8_t {
    // The text itself, anywhere in the body.
    kLine,
    // The text at the start of a line (not right after another unit of its first kind, so a run
    // of such units counts once), followed within a short reach by a header label and its colon.
    kLineThenLabel,
    // The whole value of an attribute of a tag (quoted or not); the separator is that tag.
    kAttributeValue,
    // The text, standing right after `lead`; the separator starts with the lead.
    kAfterLead,
    // The header label (row text) and its colon in bold, starting the text of its element, with
    // the second label (row second) and its colon within a short reach after it.
    kBoldLabelPair,
};

enum class Letters : std::uint8_t {
    kExact,  // code unit for code unit
    // ASCII letters in any case, and a blank in the row's text stands for any run of white
    // space: markup is case-insensitive, and long tags are wrapped across lines.
    kMarkupAnyCase,
};

// Where the stamp goes relative to the separator.
enum class StampSpot : std::uint8_t {
    // Right before it (in HTML, before the start tags that open right before it: see below).
    kBefore,
    // Before a rule that stands right before it (an <hr>, or elements holding nothing but one;
    // only white space between), else before it.
    kBeforeRuleAbove,
    // As a paragraph of its own, before it and without its paragraph's formatting (RTF).
    kOwnParagraph,
};

struct SeparatorRow {
    std::u16string_view name;  // what the row stands for, as a person would call it
    FormatSet formats;
    SeparatorShape shape;
    Letters letters;
    StampSpot spot;
    std::u16string_view text;
    // kAfterLead: the lead; kBoldLabelPair: the second label; otherwise empty.
    std::u16string_view other = {};
};

struct SeparatorMatch {
    const SeparatorRow* row;
    std::size_t start;     // where the separator itself starts
    std::size_t position;  // where the stamp goes
};

// The earliest separator of the format's rows, or nothing. In HTML the stamp never opens inside
// another element: where the separator is the first thing inside elements whose start tags stand
// right before it (only white space between), it goes before the outermost of them, but never
// before <body>, <html> or <head>. Linear in the body's length.
std::optional<SeparatorMatch> FindEarliestSeparator(BodyFormat format, std::u16string_view body);

// The separator that a row of the format finds when tried at `at` alone: the step that the scan
// above takes at the units it stops at, for checks that try every position.
std::optional<SeparatorMatch> SeparatorAt(BodyFormat format, std::u16string_view body,
                                          std::size_t at);

}  // namespace quillmark::stamping
