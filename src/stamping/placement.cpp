#include "stamping/placement.h"

#include <array>
#include <cstdint>
#include <initializer_list>

#include "stamping/text_search.h"

namespace quillmark::stamping {

namespace {

constexpr std::u16string_view kHtmlBodyEnd = u"</body>";

// How far the marker may move on, by the low byte of the body unit under its last unit.
constexpr std::array<std::uint8_t, 256> kMarkerJumps = [] {
    constexpr std::size_t last = kOriginalMessageMarker.size() - 1;
    std::array<std::uint8_t, 256> jumps{};
    jumps.fill(static_cast<std::uint8_t>(kOriginalMessageMarker.size()));
    for (std::size_t i = 0; i < last; ++i) {
        jumps[kOriginalMessageMarker[i] & 0xFF] = static_cast<std::uint8_t>(last - i);
    }
    return jumps;
}();

std::u16string Concat(std::initializer_list<std::u16string_view> parts) {
    std::size_t size = 0;
    for (const auto part : parts) size += part.size();
    std::u16string joined;
    joined.reserve(size);
    for (const auto part : parts) joined.append(part);
    return joined;
}

}  // namespace

// A Horspool search: the body unit under the marker's last unit decides how far the marker may
// move on, so most of a long body is skipped instead of read. Jumps are kept per low byte of the
// unit; units that share a low byte can only shorten a jump, never skip a match.
std::size_t FindOriginalMessage(std::u16string_view body) {
    constexpr std::u16string_view marker = kOriginalMessageMarker;
    constexpr std::size_t last = marker.size() - 1;
    for (std::size_t at = 0; at + last < body.size(); at += kMarkerJumps[body[at + last] & 0xFF]) {
        if (body[at + last] == marker[last] && body.substr(at, marker.size()) == marker) return at;
    }
    return std::u16string_view::npos;
}

std::u16string InsertAt(std::u16string_view body, std::size_t position, std::u16string_view insert,
                        std::u16string_view separator) {
    return Concat({body.substr(0, position), insert, separator, body.substr(position)});
}

std::u16string DecorateForHtml(std::u16string_view stamp) {
    return Concat({u"<p>", stamp, u"<br><br></p>"});
}

std::u16string PlaceAtHtmlEnd(CaseFolding& folding, std::u16string_view body,
                              std::u16string_view decoratedStamp) {
    const std::size_t end = FindLastIgnoringCase(folding, body, kHtmlBodyEnd);
    if (end == std::u16string_view::npos) return Concat({body, decoratedStamp});
    return Concat({body.substr(0, end), decoratedStamp, kHtmlBodyEnd,
                   body.substr(end + kHtmlBodyEnd.size())});
}

std::u16string_view RtfBeforeLastBrace(std::u16string_view body) {
    return body.substr(0, body.rfind(u'}'));
}

std::u16string PlaceAtRtfEnd(std::u16string_view body, std::u16string_view rtfStamp) {
    return Concat({RtfBeforeLastBrace(body), u"\\par", kLineBreak, rtfStamp, u"\\par}"});
}

std::u16string PlaceAtPlainEnd(std::u16string_view body, std::u16string_view stamp) {
    return Concat({body, kBlankLine, stamp});
}

std::u16string PlaceInSubject(CaseFolding& folding, std::u16string_view subject,
                              std::u16string_view stampTemplate, std::u16string_view stamp) {
    const std::size_t found = stampTemplate.empty()
                                  ? std::u16string_view::npos
                                  : FindIgnoringCase(folding, subject, stampTemplate);
    return Concat({subject.substr(0, found), stamp});
}

}  // namespace quillmark::stamping
