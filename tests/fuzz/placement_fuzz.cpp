// Placing an arbitrary stamp into an arbitrary HTML, RTF or plain-text body (through the body
// placement with fake outside objects) or subject. The result must be exactly before + inserted
// + after, where the rules put the cut: before the earliest separator, found by trying every
// position in turn (in HTML, "after" may start earlier, but only with white space and tags);
// else, in HTML, before the last "</body>" (any case, written back in lower case) or at the end;
// in RTF, at the last "}" (which is dropped with everything after it); in plain text, at the end.
// A subject is cut where the template first occurs (any case). Only the placed body changes.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "fake_host.h"
#include "fuzz_input.h"
#include "platform/portable/latin_case_folding.h"
#include "reference.h"
#include "rtf_reader.h"
#include "stamping/body_placement.h"
#include "stamping/placement.h"
#include "stamping/separators.h"

using namespace quillmark;
using namespace quillmark::fuzzing;
using namespace quillmark::testing;

namespace {

constexpr std::u16string_view kHtmlEnd = u"</body>";

constexpr std::size_t kBodyLimit = 4096;
constexpr std::size_t kStampLimit = 64;

// The searches fold long texts in windows of 4 Ki units (8 KB). Half the inputs (layouts 2 and 3)
// pad the fuzzed text so that a window edge falls `offset` units into it: the end of the first
// window (filler before the text) or the start of the window nearest the end (filler after it).
constexpr std::size_t kWindow = std::size_t{1} << 12;

std::u16string Padded(std::u16string text, int layout, std::uint8_t offset, char16_t filler) {
    const std::u16string padding(kWindow - offset, filler);
    switch (layout) {
        case 2:
            return padding + text;
        case 3:
            return text + padding;
        default:
            return text;
    }
}

// The inserted text, given what the result holds between before and after.
using InsertedCheck = std::function<bool(std::u16string_view)>;

void RequireSplice(std::u16string_view result, std::u16string_view before,
                   const InsertedCheck& inserted, std::u16string_view after) {
    Require(result.size() >= before.size() + after.size(), "the result holds before and after");
    Require(result.substr(0, before.size()) == before, "the text before the cut is kept");
    Require(result.substr(result.size() - after.size()) == after, "the text after it is kept");
    Require(inserted(result.substr(before.size(), result.size() - before.size() - after.size())),
            "the inserted text is the stamp as the format needs it");
}

InsertedCheck Exactly(std::u16string expected) {
    return [expected = std::move(expected)](std::u16string_view inserted) {
        return inserted == expected;
    };
}

// lead + the stamp escaped for RTF + trail.
InsertedCheck EscapedStamp(std::u16string_view lead, std::u16string_view stamp,
                           std::u16string_view trail) {
    return [=](std::u16string_view inserted) {
        if (inserted.size() < lead.size() + trail.size()) return false;
        if (!inserted.starts_with(lead) || !inserted.ends_with(trail)) return false;
        const auto text =
            ReadRtfText(inserted.substr(lead.size(), inserted.size() - lead.size() - trail.size()));
        return text && *text == stamp;
    };
}

// The earliest separator, the slow way: the scan's step tried at every position in turn. Where
// the stamp goes may stand before the separator only across white space and tags.
std::optional<stamping::SeparatorMatch> EarliestSeparator(stamping::BodyFormat format,
                                                          std::u16string_view body) {
    for (std::size_t at = 0; at < body.size(); ++at) {
        const auto found = stamping::SeparatorAt(format, body, at);
        if (!found) continue;
        Require(found->position <= found->start, "the stamp goes before the separator");
        bool inTag = false;
        for (std::size_t i = found->position; i < found->start; ++i) {
            const char16_t unit = body[i];
            Require(inTag || unit == u'<' || unit == u' ' || unit == u'\t' || unit == u'\r' ||
                        unit == u'\n' || unit == u'\f' || unit == u'\u00a0',
                    "only tags and white space stand between the stamp and the separator");
            inTag = unit == u'<' || (inTag && unit != u'>');
        }
        Require(!inTag, "the stamp never goes inside a tag");
        return found;
    }
    return std::nullopt;
}

struct Placed {
    std::u16string html, rtf, plain;
};

// The other bodies of the item hold this; only the body of the format may change.
constexpr std::u16string_view kOtherBody = u"-----Original Message</body>}";

// The body of `format` starts as `body` and receives the stamp.
Placed PlaceInBodyOf(std::u16string format, const std::u16string& body, std::u16string_view stamp) {
    HostRecord record;
    FakeOutside outside(record);
    LatinCaseFolding folding;
    FakeOutlookItem item(record);
    item.format = std::move(format);
    item.htmlBody = item.rtfBody = item.body = kOtherBody;
    std::u16string& placedBody = item.format == u"HTML"  ? item.htmlBody
                                 : item.format == u"RTF" ? item.rtfBody
                                                         : item.body;
    placedBody = body;
    const auto mail = outside.CreateSafeMailItem();
    mail->BindItem(item);
    int step = 0;
    stamping::StampingRun run{outside, folding, *mail, step, [](const std::u16string&) {}};
    stamping::PlaceInBody(run, stamp);
    return {item.htmlBody, item.rtfBody, item.body};
}

void CheckHtml(const std::u16string& body, std::u16string_view stamp) {
    const Placed placed = PlaceInBodyOf(u"HTML", body, stamp);
    Require(placed.rtf == kOtherBody && placed.plain == kOtherBody, "only the HTML body changes");
    const std::u16string decorated = u"<p>" + std::u16string(stamp) + u"<br><br></p>";
    const std::u16string_view text = body;
    if (const auto separator = EarliestSeparator(stamping::BodyFormat::kHtml, body)) {
        const std::size_t at = separator->position;
        RequireSplice(placed.html, text.substr(0, at), Exactly(decorated), text.substr(at));
    } else if (const std::size_t end = LastOccurrence(body, kHtmlEnd, Letters::kAnyCase);
               end != kNowhere) {
        RequireSplice(placed.html, text.substr(0, end), Exactly(decorated + u"</body>"),
                      text.substr(end + kHtmlEnd.size()));
    } else {
        RequireSplice(placed.html, text, Exactly(decorated), u"");
    }
}

void CheckRtf(const std::u16string& body, std::u16string_view stamp) {
    const Placed placed = PlaceInBodyOf(u"RTF", body, stamp);
    Require(placed.html == kOtherBody && placed.plain == kOtherBody, "only the RTF body changes");
    const std::u16string_view text = body;
    if (const auto separator = EarliestSeparator(stamping::BodyFormat::kRtf, body)) {
        const std::size_t at = separator->start;
        Require(separator->position == at, "RTF is stamped right before its separator");
        const bool ownParagraph = separator->row->spot == stamping::StampSpot::kOwnParagraph;
        RequireSplice(placed.rtf, text.substr(0, at),
                      ownParagraph ? EscapedStamp(u"{\\pard\\plain ", stamp, u"\\par\\par}\r\n")
                                   : EscapedStamp(u"", stamp, u"\\par\r\n\\par\r\n"),
                      text.substr(at));
    } else {
        const std::size_t brace = LastOccurrence(body, u"}", Letters::kExact);
        RequireSplice(placed.rtf, brace == kNowhere ? text : text.substr(0, brace),
                      EscapedStamp(u"\\par\r\n", stamp, u"\\par}"), u"");
    }
}

void CheckPlain(const std::u16string& body, std::u16string_view stamp) {
    const Placed placed = PlaceInBodyOf(u"Text", body, stamp);
    Require(placed.html == kOtherBody && placed.rtf == kOtherBody,
            "only the plain-text body changes");
    const std::u16string_view text = body;
    if (const auto separator = EarliestSeparator(stamping::BodyFormat::kPlain, body)) {
        const std::size_t at = separator->start;
        Require(separator->position == at, "plain text is stamped right before its separator");
        RequireSplice(placed.plain, text.substr(0, at),
                      Exactly(std::u16string(stamp) + u"\r\n\r\n"), text.substr(at));
    } else {
        RequireSplice(placed.plain, text, Exactly(u"\r\n\r\n" + std::u16string(stamp)), u"");
    }
}

void CheckSubject(const std::u16string& subject, std::u16string_view stampTemplate,
                  std::u16string_view stamp) {
    LatinCaseFolding folding;
    const std::u16string placed =
        stamping::PlaceInSubject(folding, subject, stampTemplate, stamp).Join();
    const std::size_t found = stampTemplate.empty()
                                  ? kNowhere
                                  : FirstOccurrence(subject, stampTemplate, Letters::kAnyCase);
    RequireSplice(placed, std::u16string_view(subject).substr(0, found),
                  Exactly(std::u16string(stamp)), u"");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::uint8_t choice = input.Byte();
    const int kind = choice % 4;
    const std::uint8_t offset = input.Byte();
    const char16_t filler = input.Byte();
    const std::u16string text = Padded(input.Text(kBodyLimit), choice / 4 % 4, offset, filler);
    const std::u16string stamp = input.Text(kStampLimit);
    switch (kind) {
        case 0:
            CheckHtml(text, stamp);
            break;
        case 1:
            CheckRtf(text, stamp);
            break;
        case 2:
            CheckPlain(text, stamp);
            break;
        default:
            CheckSubject(text, input.Text(kStampLimit), stamp);
            break;
    }
    return 0;
}
