#include "check/sample_messages.h"

#include <algorithm>

namespace quillmark::check {

namespace {

constexpr char16_t kHtmlNew[] =
    u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"></head>"
    u"<body><p>Dear Dana,</p><p>The figures for the quarter are attached.</p>"
    u"<p>Kind regards,<br>Sam</p></body></html>";
// As desktop Outlook writes a reply: the quoted header in a div with a thin rule above it.
constexpr char16_t kHtmlReply[] =
    u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"></head>"
    u"<body><div class=\"WordSection1\"><p class=\"MsoNormal\">Dear Dana,</p>"
    u"<p class=\"MsoNormal\">The figures are attached.</p>"
    u"<p class=\"MsoNormal\">Kind regards,<br>Sam</p><div>"
    u"<div style=\"border:none;border-top:solid #E1E1E1 1.0pt;padding:3.0pt 0in 0in 0in\">"
    u"<p class=\"MsoNormal\"><b>From:</b> Dana Reyes<br><b>Sent:</b> Friday, January 8, 2010 "
    u"9:12 AM<br><b>To:</b> Sam Okafor<br><b>Subject:</b> Quarterly figures</p></div></div>"
    u"<p class=\"MsoNormal\">Could you send me the figures?</p></div></body></html>";
constexpr char16_t kRtfNew[] =
    u"{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Calibri;}}\\f0\\fs22 "
    u"Dear Dana,\\par\r\n\\par\r\nThe figures for the quarter are attached.\\par\r\n\\par\r\n"
    u"Kind regards,\\par\r\nSam\\par\r\n}\r\n";
constexpr char16_t kRtfReply[] =
    u"{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Calibri;}}\\f0\\fs22 "
    u"Dear Dana,\\par\r\n\\par\r\nThe figures are attached.\\par\r\n\\par\r\n"
    u"Kind regards,\\par\r\nSam\\par\r\n\\par\r\n-----Original Message-----\\par\r\n"
    u"{\\b From:} Dana Reyes\\par\r\n{\\b Sent:} Friday, January 8, 2010 9:12 AM\\par\r\n"
    u"{\\b Subject:} Quarterly figures\\par\r\n\\par\r\nCould you send me the figures?\\par\r\n"
    u"}\r\n";
constexpr char16_t kTextNew[] =
    u"Dear Dana,\r\n\r\nThe figures for the quarter are attached.\r\n\r\nKind regards,\r\nSam";
constexpr char16_t kTextReply[] =
    u"Dear Dana,\r\n\r\nThe figures are attached.\r\n\r\nKind regards,\r\nSam\r\n\r\n"
    u"-----Original Message-----\r\nFrom: Dana Reyes\r\nSent: Friday, January 8, 2010 9:12 AM\r\n"
    u"To: Sam Okafor\r\nSubject: Quarterly figures\r\n\r\nCould you send me the figures?\r\n";

std::u16string Lower(std::u16string_view text) {
    std::u16string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char16_t c) {
        return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
    });
    return lower;
}

}  // namespace

std::vector<MessageSample> BuiltInSamples() {
    return {
        {u"HTML, new message", u"html-new.html", u"HTML", u"Quarterly figures", kHtmlNew},
        {u"HTML, reply", u"html-reply.html", u"HTML", u"RE: Quarterly figures", kHtmlReply},
        {u"RTF, new message", u"rtf-new.rtf", u"RTF", u"Quarterly figures", kRtfNew},
        {u"RTF, reply", u"rtf-reply.rtf", u"RTF", u"RE: Quarterly figures", kRtfReply},
        {u"Text, new message", u"text-new.txt", u"Text", u"Quarterly figures", kTextNew},
        {u"Text, reply", u"text-reply.txt", u"Text", u"RE: Quarterly figures", kTextReply},
    };
}

std::optional<std::u16string> FormatOfFileName(std::u16string_view fileName) {
    const std::size_t dot = fileName.rfind(u'.');
    if (dot == std::u16string_view::npos) return std::nullopt;
    const std::u16string extension = Lower(fileName.substr(dot + 1));
    if (extension == u"html" || extension == u"htm") return u"HTML";
    if (extension == u"rtf") return u"RTF";
    if (extension == u"txt") return u"Text";
    return std::nullopt;
}

std::optional<std::u16string> FormatOfName(std::u16string_view name) {
    const std::u16string lower = Lower(name);
    if (lower == u"html") return u"HTML";
    if (lower == u"rtf") return u"RTF";
    if (lower == u"text") return u"Text";
    return std::nullopt;
}

std::u16string_view ExtensionOf(std::u16string_view format) {
    if (format == u"HTML") return u".html";
    if (format == u"RTF") return u".rtf";
    return u".txt";
}

}  // namespace quillmark::check
