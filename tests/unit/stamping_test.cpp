#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "fake_host.h"
#include "fake_platform.h"
#include "module/quillmark.h"
#include "stamping/placement.h"
#include "stamping/plain_search.h"
#include "stamping/rtf_escape.h"
#include "stamping/separators.h"
#include "stamping/text_search.h"

namespace quillmark::testing {
namespace {

using Lines = std::vector<std::u16string>;

constexpr char16_t kPreparing[] = u"Preparing to add Quillmark to email with Subject: 'Hello'";
constexpr char16_t kDefaultTemplate[] =
    u"This email was sent on <date> at <time> <timezone> by <author>.";

// A started module with seeded settings, and a mail item about to be sent.
class Stamping : public ::testing::Test {
  protected:
    void SetUp() override {
        module.ZMStartup(engine);
        record.trace.clear();
        item.subject = u"Hello";
    }

    void Set(const std::u16string& key, const std::optional<std::u16string>& value) {
        const FakeSettingsStore::Address address{u"QuillmarkTest", u"Quillmark", key};
        if (value) {
            platform.settings.values[address] = *value;
        } else {
            platform.settings.values.erase(address);
        }
    }

    void Send() { EXPECT_EQ(module.ZMItemEvent(4, item), 0); }

    // The stamp the template gives, read back from an empty plain-text body.
    std::u16string StampOf(const std::u16string& stampTemplate) {
        Set(u"DateTimeStampText", stampTemplate);
        item.format = u"Text";
        Send();
        EXPECT_EQ(item.body.substr(0, 4), u"\r\n\r\n");
        return item.body.substr(4);
    }

    // The one error line of the routine, or the empty text when it logged none.
    std::u16string ErrorLine() const {
        if (record.log.empty()) return {};
        EXPECT_EQ(record.log.size(), 1u);
        EXPECT_EQ(record.log[0].level, 0);
        EXPECT_EQ(record.log[0].source, u"Quillmark.ProcessOutgoingEmail");
        return record.log[0].message;
    }

    HostRecord record;
    FakeOutside outside{record};
    FakePlatform platform;
    CQuillmark module{outside, platform.Ports()};
    FakeEngineCandidate engine{record, "A"};
    FakeOutlookItem item{record};
};

// ---- Composition ----

struct TokenCase {
    std::u16string stampTemplate;
    std::optional<std::u16string> author;  // absent: the setting is missing
    std::u16string stamp;
};

TEST_F(Stamping, TokensAreFilledInAnyLetterCaseOneKindAfterAnother) {
    const TokenCase cases[] = {
        {u"<date> <time>", u"ann", u"1/8/10 3:05 PM"},
        {u"<DATE>|<Time>|<tIME>", u"ann", u"1/8/10|3:05 PM|3:05 PM"},
        {u"<AUTHOR> <Author> <author>", u"ann", u"ann ann ann"},
        {u"by <author>", std::nullopt, u"by user"},
        {u"by <author>", u"<Time> team", u"by 3:05 PM team"},
        {u"by <author>", u"<author>", u"by <author>"},  // inserted text is not scanned again
        {u"<FullTimeZone> (<TimeZone>)", u"ann", u"Pacific Standard Time (PST)"},
        {u"zone <timezone> <fulltimezone>", u"ann", u"zone PST Pacific Standard Time"},
        {u"timezone <dates> <name> <zone>", u"ann", u"timezone <dates> <name> <zone>"},
        {u"", u"ann", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.stampTemplate));
        record = HostRecord{};
        item.body.clear();
        Set(u"Author", c.author);
        EXPECT_EQ(StampOf(c.stampTemplate), c.stamp);
        EXPECT_EQ(ErrorLine(), u"");
    }
}

TEST_F(Stamping, ZoneIsAskedOnlyWhenTheStampNamesIt) {
    StampOf(u"<date>");
    EXPECT_EQ(platform.timeZone.queries, 0);
    item.body.clear();
    StampOf(u"the word timezone alone");
    EXPECT_EQ(platform.timeZone.queries, 1);
    item.body.clear();
    StampOf(u"<fulltimezone> <timezone>");
    EXPECT_EQ(platform.timeZone.queries, 3);  // a fresh lookup per token
}

TEST_F(Stamping, AuthorIsReadOnlyForAnAuthorToken) {
    record.registryAppNameCalls = 0;
    StampOf(u"<date>");
    const int withoutAuthor = record.registryAppNameCalls;
    record.registryAppNameCalls = 0;
    item.body.clear();
    StampOf(u"<Author>");
    EXPECT_EQ(record.registryAppNameCalls, withoutAuthor + 1);
}

TEST_F(Stamping, ZoneErrorsNeverStopTheSend) {
    // The zone lookup fails and so does the log that would report it: the token stays.
    platform.timeZone.fail = true;
    record.failing.push_back("hostservices.WriteLog");
    EXPECT_EQ(StampOf(u"at <time> <timezone>"), u"at 3:05 PM <timezone>");
    EXPECT_EQ(record.TraceMessages().back(), u"Exiting");
}

TEST_F(Stamping, NoTemplateStampsNothingAndTracesNothing) {
    for (const std::optional<std::u16string>& stored :
         {std::optional<std::u16string>{}, std::optional<std::u16string>{u"Not Found"}}) {
        Set(u"DateTimeStampText", stored);
        item.htmlBody = u"<body>Hi</body>";
        Send();
        EXPECT_EQ(item.htmlBody, u"<body>Hi</body>");
        EXPECT_TRUE(record.trace.empty());
        EXPECT_TRUE(record.log.empty());
    }
    EXPECT_EQ(item.saves, 2);  // bound and saved before the template is read
}

TEST_F(Stamping, OtherItemsAreLeftAlone) {
    item.typeName = u"MeetingItem";
    Send();
    EXPECT_EQ(record.objects["QXSafeMailItem"].created, 0);
    EXPECT_TRUE(record.trace.empty());
    EXPECT_EQ(item.saves, 0);
}

TEST_F(Stamping, DefaultTemplateEndToEnd) {
    item.htmlBody = u"<html><body>Hi</body></html>";
    Send();
    const std::u16string stamp = u"This email was sent on 1/8/10 at 3:05 PM PST by clerk1.";
    EXPECT_EQ(item.htmlBody, u"<html><body>Hi<p>" + stamp + u"<br><br></p></body></html>");
    EXPECT_EQ(
        record.TraceMessages(),
        (Lines{kPreparing,
               u"Raw Quillmark text: This email was sent on <date> at <time> <timezone> by "
               u"clerk1.",
               kPreparing, u"Adding '<p>" + stamp + u"<br><br></p>' at the end of the message",
               u"Exiting"}));
    for (const auto& line : record.trace) EXPECT_EQ(line.source, u"ProcessOutgoingEmail");
    EXPECT_EQ(item.saves, 1);
    EXPECT_EQ(item.subject, u"Hello");
    EXPECT_EQ(ErrorLine(), u"");
    // The date and the time of one instant: a second reading could fall on the next day.
    EXPECT_EQ(platform.clock.reads, 1);
}

// ---- Body placement ----

struct PlacementCase {
    const char* name;
    std::u16string format;
    std::u16string body;
    std::u16string placed;
    std::u16string traceLine;
};

TEST_F(Stamping, BodyPlacementPerFormat) {
    const std::u16string html = u"<p>Sent by clerk1<br><br></p>";
    const PlacementCase cases[] = {
        {"html marker", u"HTML", u"<body>Hi-----Original Message old</body>",
         u"<body>Hi" + html + u"-----Original Message old</body>",
         u"Adding '" + html + u"' before the original message"},
        {"html marker in other case", u"HTML", u"-----original message</BODY></HTML>",
         u"-----original message" + html + u"</body></HTML>",
         u"Adding '" + html + u"' at the end of the message"},
        {"html several body ends", u"HTML", u"a</body>b</BODY>c", u"a</body>b" + html + u"</body>c",
         u"Adding '" + html + u"' at the end of the message"},
        {"html without body end", u"HTML", u"<div>Hi</div>", u"<div>Hi</div>" + html,
         u"Adding '" + html + u"' at the end of the message"},
        {"html empty", u"HTML", u"", html, u"Adding '" + html + u"' at the end of the message"},
        {"rtf marker", u"RTF", u"{\\rtf1 Hi\\par -----Original Message}",
         u"{\\rtf1 Hi\\par Sent by clerk1\\par\r\n\\par\r\n-----Original Message}",
         u"Adding to RTF body: 'Sent by clerk1'"},
        {"html header block", u"HTML",
         u"<p>Hi</p><div><div style=\"border:none;border-top:solid #E1E1E1 1.0pt;padding:3.0pt 0in "
         u"0in 0in\"><p><b>From:</b>",
         u"<p>Hi</p>" + html +
             u"<div><div style=\"border:none;border-top:solid #E1E1E1 1.0pt;padding:3.0pt 0in 0in "
             u"0in\"><p><b>From:</b>",
         u"Adding '" + html + u"' before the original message"},
        {"rtf bookmark", u"RTF", u"{\\rtf1 Hi\\par {\\*\\bkmkstart _MailOriginal}From:}",
         u"{\\rtf1 Hi\\par {\\pard\\plain Sent by clerk1\\par\\par}\r\n{\\*\\bkmkstart "
         u"_MailOriginal}From:}",
         u"Adding to RTF body: 'Sent by clerk1'"},
        {"rtf end", u"RTF", u"{\\rtf1 Hello}\r\n", u"{\\rtf1 Hello\\par\r\nSent by clerk1\\par}",
         u"Adding 'Sent by clerk1' at the end of the RTF message"},
        {"rtf blank", u"RTF", u"", u"\\par\r\nSent by clerk1\\par}",
         u"Adding 'Sent by clerk1' at the end of a blank RTF message"},
        {"plain marker", u"Text", u"Hi\r\n-----Original Message\r\nold",
         u"Hi\r\nSent by clerk1\r\n\r\n-----Original Message\r\nold",
         u"Adding to plain text body: 'Sent by clerk1'"},
        {"plain end", u"Text", u"Hi", u"Hi\r\n\r\nSent by clerk1",
         u"Adding 'Sent by clerk1' at the end of the plain text message"},
        {"format in other case is plain", u"html", u"", u"\r\n\r\nSent by clerk1",
         u"Adding 'Sent by clerk1' at the end of the plain text message"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        record = HostRecord{};
        FakeOutlookItem mail(record);
        mail.subject = u"Hello";
        mail.format = c.format;
        std::u16string& body = c.format == u"HTML"  ? mail.htmlBody
                               : c.format == u"RTF" ? mail.rtfBody
                                                    : mail.body;
        body = c.body;
        Set(u"DateTimeStampText", u"Sent by <author>");
        module.ZMItemEvent(4, mail);
        EXPECT_EQ(body, c.placed);
        EXPECT_EQ(mail.htmlBody.size() + mail.rtfBody.size() + mail.body.size(), body.size());
        EXPECT_EQ(mail.subject, u"Hello");
        EXPECT_EQ(record.TraceMessages(), (Lines{kPreparing, u"Raw Quillmark text: Sent by clerk1",
                                                 kPreparing, c.traceLine, u"Exiting"}));
        EXPECT_TRUE(record.log.empty());
    }
}

TEST_F(Stamping, EmptyStampStillGetsTheFixedParts) {
    Set(u"DateTimeStampText", u"");
    item.htmlBody = u"<body></body>";
    Send();
    EXPECT_EQ(item.htmlBody, u"<body><p><br><br></p></body>");
}

TEST_F(Stamping, RtfStampIsEscapedWhileTheTraceQuotesItAsComposed) {
    Set(u"DateTimeStampText", u"{x} \\ caf\u00e9 \uff21 by <author>");
    Set(u"Author", u"Zo\u00eb");
    item.format = u"RTF";
    item.rtfBody = u"{\\rtf1 Hi}";
    Send();
    EXPECT_EQ(item.rtfBody,
              u"{\\rtf1 Hi\\par\r\n\\{x\\} \\\\ caf\\u233? \\u-223? by Zo\\u235?\\par}");
    EXPECT_EQ(record.TraceMessages()[3],
              u"Adding '{x} \\ caf\u00e9 \uff21 by Zo\u00eb' at the end of the RTF message");
}

TEST(RtfEscape, EveryCodeUnitAbove127IsWrittenAsSigned16Bit) {
    EXPECT_EQ(stamping::EscapeForRtf(u"a\u007f\u0080\u7fff\u8000\uffff\U0001F600"),
              u"a\u007f\\u128?\\u32767?\\u-32768?\\u-1?\\u-10179?\\u-8704?");
}

// Where the stamp goes in each format: the earliest separator of any row, lifted in HTML above
// the start tags that open right before it.
TEST(Separators, TheEarliestOneWinsAndHtmlKeepsItsStructure) {
    using stamping::BodyFormat;
    constexpr auto npos = std::u16string_view::npos;
    constexpr auto kHtml = BodyFormat::kHtml, kRtf = BodyFormat::kRtf, kText = BodyFormat::kPlain;
    const std::u16string pastBlock = std::u16string(63, u'x') + u"-----Original Message";
    const struct {
        BodyFormat format;
        std::u16string_view body;
        std::size_t at;
    } cases[] = {
        // The English line, exactly, in every format; a near miss is no separator.
        {kText, u"-----Original Message", 0},
        {kText, u"Hi\r\n------Original Message-----", 5},
        {kRtf, u"a\u012d----Original Message", npos},  // U+012D shares its low byte with "-"
        {kText, u"----Original Message", npos},
        {kHtml, u"-----original message", npos},
        {kText, u"-----Original Mess\u0161ge -----Original Message", 22},
        {kText, pastBlock, 63},
        {kText, u"", npos},
        // Localized lines, and the rule of underscores only above a header label.
        {kText, u"Hi\r\n-----Urspr\u00fcngliche Nachricht-----\r\nVon: A", 4},
        {kRtf, u"{\\rtf1 Hi\\par -----Urspr\\'fcngliche Nachricht-----\\par}", 14},
        {kText, u"Hi\r\n________________________________\r\nFrom: A\r\nSent: B", 4},
        {kText, u"Hi\r\n________________________________\r\nsignature", npos},
        {kHtml, u"Hi\r\n________________________________\r\nFrom: A", npos},
        // In HTML the stamp goes above the start tags that open right before the separator, but
        // not above the body, and not above text or an empty element.
        {kHtml, u"<p>Hi</p>\r\n<p class=MsoNormal> <span>-----Original Message</span></p>", 11},
        {kHtml, u"<body><p>-----Original Message</p></body>", 6},
        {kHtml, u"<p>Hi<br>-----Original Message</p>", 9},
        {kHtml, u"<p>Hi -----Original Message</p>", 6},
        // Web replies: the end mark, the rule above the header, never the quoted x_ copies.
        {kHtml, u"<p>Hi</p><div id=\"appendonsend\"></div><hr><div id=\"divRplyFwdMsg\">", 9},
        {kHtml, u"<p>Hi</p><hr style=\"x\">\r\n<div ID=divRplyFwdMsg dir=\"ltr\">", 9},
        {kHtml,
         u"<p>Hi</p><div align=center><span><hr></span></div>\r\n<p><b>From:</b> A<b>Sent:</b>", 9},
        {kHtml, u"<p>Hi</p><div id=\"x_divRplyFwdMsg\"><div id=\"x_appendonsend\">", npos},
        {kHtml, u"<p>id=\"appendonsend\" is text here</p>", npos},
        // The desktop header block, found by its style (wrapped, in any case), lifted above the
        // div that wraps it; the first of nested blocks wins.
        {kHtml,
         u"<p>Hi</p><div>\r\n<div style='border:none;border-top:solid #e1e1e1 1.0pt;\r\n"
         u"padding:3.0pt 0in 0in 0in'><p><b>From:</b> A<br><b>Sent:</b> B</p></div></div>",
         9},
        {kHtml, u"<p>Hi</p><p><a name=\"_MailOriginal\"></a></p><p><b>From:</b> A<b>Sent:</b>", 9},
        // Bold labels in pairs, in the display language, label and colon split by markup.
        {kHtml, u"<p>Hi</p><p><b><span lang=DE>Von:</span></b> A<br><b>Gesendet:</b> B", 9},
        {kHtml, u"<p>Hi</p><p><b>De&nbsp;:</b> A<br><b>Envoy\u00e9&nbsp;:</b> B", 9},
        {kHtml,
         u"<p>Hi</p><p><b>\u53d1\u4ef6\u4eba<span>:</span></b> A<b>\u53d1\u9001\u65f6\u95f4:</b>",
         9},
        {kHtml, u"<p>Hi</p><p><b>From:</b> the team</p>", npos},
        {kHtml, u"<p>Hi</p><p>From: A<br>Sent: B</p>", npos},
        // RTF: Word's bookmark starts the separator; the earliest of two forms wins.
        {kRtf, u"{\\rtf1 Hi\\par {\\*\\bkmkstart _MailOriginal}{\\b From:} -----Original Message}",
         14},
        {kRtf, u"{\\rtf1 Hi\\par\r\n\\pard\\f1{\\b Von:} A\\line{\\b Gesendet:} B}", 15},
        {kRtf, u"{\\rtf1 Hi\\par\r\n\\pard\\f1{\\b0 Von:} A\\line{\\b Gesendet:} B}", npos},
        {kText, u"a -----Mensaje original----- b -----Original Message", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.body));
        const auto found = stamping::FindEarliestSeparator(c.format, c.body);
        EXPECT_EQ(found ? found->position : npos, c.at);
    }
}

TEST(PlainSearch, FindsWhatAPlainFindFinds) {
    // Repeated and overlapping pairs, and units that share their low six bits (a, !, U+0161).
    const std::u16string_view texts[] = {u"abababcabab", u"aaaaaaab", u"x\u0161ya!yab a\u0161y",
                                         u"-----Original Messag-----Original Message"};
    const std::u16string_view words[] = {u"a",   u"ab",          u"bab", u"abc",
                                         u"aab", u"a\u0161y",    u"!y",  u"-----Original Message",
                                         u"ba",  u"abababcababx"};
    for (const auto text : texts) {
        for (const auto word : words) {
            const stamping::PlainSearch search(word);
            for (std::size_t from = 0; from <= text.size(); ++from)
                EXPECT_EQ(search.Find(text, from), text.find(word, from))
                    << ToUtf8(word) << " in " << ToUtf8(text) << " from " << from;
        }
    }
}

// ---- Case-insensitive search over long texts ----

// Folds like LatinCaseFolding and keeps every text it was given.
class RecordingFolding : public CaseFolding {
  public:
    std::u16string ToUpper(std::u16string_view text) override {
        folded.emplace_back(text);
        return latin.ToUpper(text);
    }
    LatinCaseFolding latin;
    std::vector<std::u16string> folded;
};

TEST(TextSearch, MatchesAcrossWindowsWithoutCuttingSurrogatePairs) {
    constexpr std::size_t kWindow = 1 << 16;
    std::u16string text(3 * kWindow + 100, u'x');
    text.replace(kWindow - 3, 7, u"</BoDy>");  // straddles the first window's end
    text.replace(2 * kWindow + 1, 7, u"</body>");
    // Surrogate pairs across the places where the forward and backward windows begin and end.
    for (const std::size_t at : {kWindow + 5, 2 * kWindow - 1, 2 * kWindow + 99, 2 * kWindow + 105})
        text.replace(at, 2, u"\U0001F600");
    RecordingFolding folding;
    EXPECT_EQ(stamping::FindIgnoringCase(folding, text, u"</BODY>"), kWindow - 3);
    EXPECT_EQ(stamping::FindLastIgnoringCase(folding, text, u"</BODY>"), 2 * kWindow + 1);
    EXPECT_EQ(stamping::FindIgnoringCase(folding, text, u"</html>"), std::u16string::npos);
    EXPECT_EQ(stamping::FindLastIgnoringCase(folding, text, u"</html>"), std::u16string::npos);
    for (const auto& window : folding.folded) {
        EXPECT_FALSE(window.front() >= 0xDC00 && window.front() <= 0xDFFF);
        EXPECT_FALSE(window.back() >= 0xD800 && window.back() <= 0xDBFF);
    }
}

TEST(TextSearch, LastMatchNearTheEndFoldsLittleOfTheText) {
    std::u16string text(40 << 16, u'x');
    text += u"</BODY></HTML>";
    RecordingFolding folding;
    EXPECT_EQ(stamping::FindLastIgnoringCase(folding, text, u"</body>"), 40u << 16);
    std::size_t foldedUnits = 0;
    for (const auto& window : folding.folded) foldedUnits += window.size();
    EXPECT_LT(foldedUnits, text.size() / 10);
}

// ---- Subject mode ----

struct SubjectCase {
    std::u16string insertIntoSubject, subject, stampTemplate, placed;
};

TEST_F(Stamping, SubjectModeAppendsAfterAnyEarlierCopyOfTheTemplate) {
    const SubjectCase cases[] = {
        {u"1", u"Status", u"Sent from the desk", u"StatusSent from the desk"},
        {u"1", u"StatusSent from the desk", u"Sent from the desk", u"StatusSent from the desk"},
        {u"-1", u"StatusSENT FROM THE DESK old", u"Sent from the desk",
         u"StatusSent from the desk"},
        {u"2", u"", u"Sent", u"Sent"},
        {u"1.5", u"Re", u" at <time>", u"Re at 3:05 PM"},
        {u"1", u"Re at 3:05 PM", u" at <time>", u"Re at 3:05 PM at 3:05 PM"},  // grows per send
        {u"1", u"Status", u"", u"Status"},  // an empty template keeps the subject
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ToUtf8(c.subject));
        record = HostRecord{};
        Set(u"InsertIntoSubject", c.insertIntoSubject);
        Set(u"DateTimeStampText", c.stampTemplate);
        item.subject = c.subject;
        item.htmlBody = u"<body>Hi</body>";
        Send();
        EXPECT_EQ(item.subject, c.placed);
        EXPECT_EQ(item.htmlBody, u"<body>Hi</body>");
        EXPECT_EQ(record.objects["BodyFormatProbe"].created, 0);
        EXPECT_EQ(record.TraceMessages().size(), 4u);  // no placement line
        EXPECT_EQ(record.TraceMessages().back(), u"Exiting");
        EXPECT_EQ(ErrorLine(), u"");
    }
}

// ---- Failures ----

struct FailureCase {
    Fault failing;
    std::u16string format;
    std::u16string body;
    std::u16string insertIntoSubject;
    std::u16string errorLine;
};

TEST_F(Stamping, FailuresAreReportedWithTheStepLastBegun) {
    const std::u16string marker = u"-----Original Message";
    const FailureCase cases[] = {
        {"safeitem.create", u"HTML", u"", u"0",
         u"Error occurred at line 8.  Reason: Injected failure: safeitem.create"},
        {"safeitem.Save", u"HTML", u"", u"0",
         u"Error occurred at line 8.  Reason: Injected failure: safeitem.Save"},
        {"safeitem.Subject.get", u"HTML", u"", u"0",
         u"Error occurred at line 16.  Reason: Injected failure: safeitem.Subject.get"},
        {Fault("safeitem.Subject.get", 2), u"HTML", u"", u"0",
         u"Error occurred at line 169.  Reason: Injected failure: safeitem.Subject.get"},
        {"", u"HTML", u"", u"abc", u"Error occurred at line 17.  Reason: Type mismatch"},
        {"", u"HTML", u"", u"", u"Error occurred at line 17.  Reason: Type mismatch"},
        {"safeitem.Subject.put", u"HTML", u"", u"1",
         u"Error occurred at line 17.  Reason: Injected failure: safeitem.Subject.put"},
        {"probe.GetBodyFormat", u"HTML", u"", u"0",
         u"Error occurred at line 18.  Reason: Injected failure: probe.GetBodyFormat"},
        {"safeitem.HTMLBody.get", u"HTML", u"", u"0",
         u"Error occurred at line 20.  Reason: Injected failure: safeitem.HTMLBody.get"},
        {"safeitem.HTMLBody.put", u"HTML", marker, u"0",
         u"Error occurred at line 24.  Reason: Injected failure: safeitem.HTMLBody.put"},
        {"safeitem.HTMLBody.put", u"HTML", u"", u"0",
         u"Error occurred at line 26.  Reason: Injected failure: safeitem.HTMLBody.put"},
        {"safeitem.RTFBody.put", u"RTF", marker, u"0",
         u"Error occurred at line 36.  Reason: Injected failure: safeitem.RTFBody.put"},
        {"safeitem.RTFBody.put", u"RTF", u"{}", u"0",
         u"Error occurred at line 40.  Reason: Injected failure: safeitem.RTFBody.put"},
        {"safeitem.RTFBody.put", u"RTF", u"", u"0",
         u"Error occurred at line 42.  Reason: Injected failure: safeitem.RTFBody.put"},
        {"safeitem.Body.put", u"Text", marker, u"0",
         u"Error occurred at line 46.  Reason: Injected failure: safeitem.Body.put"},
        {"safeitem.Body.put", u"Text", u"", u"0",
         u"Error occurred at line 50.  Reason: Injected failure: safeitem.Body.put"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failing.point + " " + ToUtf8(c.insertIntoSubject));
        record = HostRecord{};
        record.failing = {c.failing};
        FakeOutlookItem mail(record);
        mail.subject = u"Hello";
        mail.format = c.format;
        mail.htmlBody = mail.rtfBody = mail.body = c.body;
        Set(u"InsertIntoSubject", c.insertIntoSubject);
        EXPECT_EQ(module.ZMItemEvent(4, mail), 0);
        EXPECT_EQ(ErrorLine(), c.errorLine);
        EXPECT_TRUE(record.trace.empty() || record.TraceMessages().back() != u"Exiting");
        EXPECT_EQ(mail.subject, u"Hello");
        EXPECT_EQ(mail.htmlBody + mail.rtfBody + mail.body, c.body + c.body + c.body);
    }
}

TEST_F(Stamping, WithoutEngineTheFirstTraceFails) {
    CQuillmark unstarted{outside, platform.Ports()};
    unstarted.ZMItemEvent(4, item);
    EXPECT_EQ(ErrorLine(),
              u"Error occurred at line 16.  Reason: Object variable or With block variable not "
              u"set");
}

}  // namespace
}  // namespace quillmark::testing
