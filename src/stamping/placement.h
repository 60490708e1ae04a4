#pragma once

// Where the stamp goes in a subject or body, as pure text operations. Each placement returns the
// new text as the pieces it is made of (views of its arguments, which must outlive the result);
// whoever stores it joins them in one pass, so placing a stamp costs no more than that one copy
// of the body plus a search.

#include <cstddef>
#include <string>
#include <string_view>

#include "base/large_text.h"
#include "platform/platform.h"

namespace quillmark::stamping {

inline constexpr std::u16string_view kLineBreak = u"\r\n";
inline constexpr std::u16string_view kBlankLine = u"\r\n\r\n";
// RTF ignores line breaks in its source: a blank line needs paragraph marks. The source keeps its
// line breaks too, so it reads as before.
inline constexpr std::u16string_view kRtfBlankLine = u"\\par\r\n\\par\r\n";
// A paragraph of its own for the stamp, in a group: the paragraph and character formatting it
// resets (\pard\plain) is that of the quoted header it stands above, which the group's end
// restores for the header.
inline constexpr std::u16string_view kRtfOwnParagraphStart = u"{\\pard\\plain ";
inline constexpr std::u16string_view kRtfOwnParagraphEnd = u"\\par\\par}\r\n";

// body[0, position) + insert + separator + body[position, end).
SplicedText InsertAt(std::u16string_view body, std::size_t position, std::u16string_view insert,
                     std::u16string_view separator = {});

// "<p>" + stamp + "<br><br></p>": the stamp as its own paragraph, set off from what follows.
std::u16string DecorateForHtml(std::u16string_view stamp);

// The decorated stamp goes before the last "</body>" (any letter case), which is rewritten in
// lower case; a body without one gets the stamp appended.
SplicedText PlaceAtHtmlEnd(CaseFolding& folding, std::u16string_view body,
                           std::u16string_view decoratedStamp);

// The RTF source up to its last "}", which closes the document; the whole body when it holds no
// "}" at all (a blank document).
std::u16string_view RtfBeforeLastBrace(std::u16string_view body);

// Closes the document again after a new paragraph holding the (already RTF-escaped) stamp.
SplicedText PlaceAtRtfEnd(std::u16string_view body, std::u16string_view rtfStamp);

// The stamp after a blank line at the end of a plain-text body.
SplicedText PlaceAtPlainEnd(std::u16string_view body, std::u16string_view stamp);

// The subject up to where the unreplaced template occurs (any letter case), followed by the
// stamp; a subject without the template keeps all of it. A template stamp with no tokens thus
// replaces its own earlier copy instead of piling up. An empty template keeps the whole subject.
SplicedText PlaceInSubject(CaseFolding& folding, std::u16string_view subject,
                           std::u16string_view stampTemplate, std::u16string_view stamp);

}  // namespace quillmark::stamping
