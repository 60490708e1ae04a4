#include "stamping/placement.h"

#include <algorithm>
#include <initializer_list>

#include "stamping/text_search.h"

namespace quillmark::stamping {

namespace {

constexpr std::u16string_view kHtmlBodyEnd = u"</body>";

std::u16string Concat(std::initializer_list<std::u16string_view> parts) {
    std::size_t size = 0;
    for (const auto part : parts) size += part.size();
    std::u16string joined;
    joined.reserve(size);
    for (const auto part : parts) joined.append(part);
    return joined;
}

}  // namespace

SplicedText InsertAt(std::u16string_view body, std::size_t position, std::u16string_view insert,
                     std::u16string_view separator) {
    return {body.substr(0, position), insert, separator, body.substr(position)};
}

std::u16string DecorateForHtml(std::u16string_view stamp) {
    return Concat({u"<p>", stamp, u"<br><br></p>"});
}

SplicedText PlaceAtHtmlEnd(CaseFolding& folding, std::u16string_view body,
                           std::u16string_view decoratedStamp) {
    const std::size_t end = FindLastIgnoringCase(folding, body, kHtmlBodyEnd);
    if (end == std::u16string_view::npos) return {body, decoratedStamp};
    return {body.substr(0, end), decoratedStamp, kHtmlBodyEnd,
            body.substr(end + kHtmlBodyEnd.size())};
}

std::u16string_view RtfBeforeLastBrace(std::u16string_view body) {
    return body.substr(0, body.rfind(u'}'));
}

SplicedText PlaceAtRtfEnd(std::u16string_view body, std::u16string_view rtfStamp) {
    return {RtfBeforeLastBrace(body), u"\\par", kLineBreak, rtfStamp, u"\\par}"};
}

SplicedText PlaceAtPlainEnd(std::u16string_view body, std::u16string_view stamp) {
    return {body, kBlankLine, stamp};
}

SplicedText PlaceInSubject(CaseFolding& folding, std::u16string_view subject,
                           std::u16string_view stampTemplate, std::u16string_view stamp) {
    const std::size_t found = stampTemplate.empty()
                                  ? std::u16string_view::npos
                                  : FindIgnoringCase(folding, subject, stampTemplate);
    return {subject.substr(0, found), stamp};
}

}  // namespace quillmark::stamping
