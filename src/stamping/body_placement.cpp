#include "stamping/body_placement.h"

#include <utility>

#include "stamping/placement.h"
#include "stamping/rtf_escape.h"
#include "stamping/separators.h"

namespace quillmark::stamping {

namespace {

std::u16string Quoted(std::u16string_view before, std::u16string_view stamp,
                      std::u16string_view after) {
    std::u16string line(before);
    line.append(stamp).append(after);
    return line;
}

void PlaceInHtmlBody(StampingRun& run, std::u16string_view stamp) {
    run.step = 20;
    const std::u16string decorated = DecorateForHtml(stamp);
    SharedText text = run.mail.HTMLBody();
    const std::u16string_view body = text;
    if (const auto separator = FindEarliestSeparator(BodyFormat::kHtml, body)) {
        run.step = 22;
        run.trace(Quoted(u"Adding '", decorated, u"' before the original message"));
        run.step = 24;
        run.mail.SetHTMLBody(
            InsertAt(body, separator->position, decorated).CutFrom(std::move(text)));
    } else {
        run.step = 26;
        run.trace(Quoted(u"Adding '", decorated, u"' at the end of the message"));
        run.mail.SetHTMLBody(PlaceAtHtmlEnd(run.folding, body, decorated).CutFrom(std::move(text)));
    }
}

// The trace lines quote the stamp as composed; the body receives it escaped for RTF.
void PlaceInRtfBody(StampingRun& run, std::u16string_view stamp) {
    run.step = 34;
    SharedText text = run.mail.RTFBody();
    const std::u16string_view body = text;
    const std::u16string rtfStamp = EscapeForRtf(stamp);
    if (const auto separator = FindEarliestSeparator(BodyFormat::kRtf, body)) {
        run.trace(Quoted(u"Adding to RTF body: '", stamp, u"'"));
        run.step = 36;
        const std::size_t at = separator->position;
        const bool ownParagraph = separator->row->spot == StampSpot::kOwnParagraph;
        run.mail.SetRTFBody((ownParagraph
                                 ? SplicedText{body.substr(0, at), kRtfOwnParagraphStart, rtfStamp,
                                               kRtfOwnParagraphEnd, body.substr(at)}
                                 : InsertAt(body, at, rtfStamp, kRtfBlankLine))
                                .CutFrom(std::move(text)));
    } else {
        run.step = 38;
        const bool blank = body.rfind(u'}') == std::u16string_view::npos;
        run.trace(Quoted(
            u"Adding '", stamp,
            blank ? u"' at the end of a blank RTF message" : u"' at the end of the RTF message"));
        run.step = blank ? 42 : 40;
        run.mail.SetRTFBody(PlaceAtRtfEnd(body, rtfStamp).CutFrom(std::move(text)));
    }
}

void PlaceInPlainBody(StampingRun& run, std::u16string_view stamp) {
    run.step = 44;
    SharedText text = run.mail.Body();
    const std::u16string_view body = text;
    if (const auto separator = FindEarliestSeparator(BodyFormat::kPlain, body)) {
        run.trace(Quoted(u"Adding to plain text body: '", stamp, u"'"));
        run.step = 46;
        run.mail.SetBody(
            InsertAt(body, separator->position, stamp, kBlankLine).CutFrom(std::move(text)));
    } else {
        run.step = 48;
        run.trace(Quoted(u"Adding '", stamp, u"' at the end of the plain text message"));
        run.step = 50;
        run.mail.SetBody(PlaceAtPlainEnd(body, stamp).CutFrom(std::move(text)));
    }
}

}  // namespace

void PlaceInBody(StampingRun& run, std::u16string_view stamp) {
    run.step = 18;
    // The probe lives only for this one question; formats are told apart case-sensitively.
    const std::u16string format = run.outside.CreateBodyFormatProbe()->GetBodyFormat(run.mail);
    if (format == u"HTML") {
        PlaceInHtmlBody(run, stamp);
        return;
    }
    run.step = 30;
    if (format == u"RTF") {
        PlaceInRtfBody(run, stamp);
    } else {
        PlaceInPlainBody(run, stamp);
    }
    run.step = 52;
}

}  // namespace quillmark::stamping
