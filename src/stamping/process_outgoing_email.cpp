#include <memory>
#include <string>

#include "module/error.h"
#include "module/quillmark.h"
#include "stamping/body_placement.h"
#include "stamping/placement.h"
#include "stamping/text_search.h"
#include "timezone/time_zone.h"

namespace quillmark {

namespace {

constexpr char16_t kRoutine[] = u"ProcessOutgoingEmail";

// Fall-backs for settings missing from the store.
constexpr char16_t kDefaultDateFormat[] = u"m/d/yy";
constexpr char16_t kDefaultTimeFormat[] = u"h:nn AMPM";
constexpr char16_t kDefaultAuthor[] = u"user";
constexpr char16_t kDefaultInsertIntoSubject[] = u"0";

std::u16string PreparingLine(const std::u16string& subject) {
    return u"Preparing to add Quillmark to email with Subject: '" + subject + u"'";
}

std::u16string Decimal(int value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

}  // namespace

// Stamps one outgoing mail item. `step` holds the number of the step last begun; the handler
// quotes it, so the numbers are fixed and must not be renumbered.
void CQuillmark::ProcessOutgoingEmail(OutlookItem& item) {
    using namespace stamping;
    int step = 2;
    try {
        // Only mail messages are stamped; meeting requests and other items pass untouched.
        if (item.TypeName() != u"MailItem") return;

        step = 8;
        const std::unique_ptr<SafeMailItem> mail = outside_.CreateSafeMailItem();
        mail->BindItem(item);
        mail->Save();  // the only save: later edits go out with the send itself
        const std::u16string dateFormat = settings_.Read(setting::kDateFormat, kDefaultDateFormat);
        const std::u16string timeFormat = settings_.Read(setting::kTimeFormat, kDefaultTimeFormat);
        const std::u16string dateText =
            platform_.dateTimeFormatter.Format(platform_.clock.Now(), dateFormat);
        const std::u16string timeText =
            platform_.dateTimeFormatter.Format(platform_.clock.Now(), timeFormat);

        step = 12;
        const std::u16string stampTemplate = settings_.Read(setting::kDateTimeStampText, kNotFound);

        step = 14;
        if (stampTemplate == kNotFound) return;  // no template stored: nothing to stamp
        CaseFolding& folding = platform_.caseFolding;
        std::u16string stamp = stampTemplate;
        if (ContainsIgnoringCase(folding, stamp, u"<Author>")) {
            stamp = ReplaceIgnoringCase(folding, stamp, u"<author>",
                                        settings_.Read(setting::kAuthor, kDefaultAuthor));
        }

        step = 16;
        WriteTrace(kRoutine, PreparingLine(mail->Subject()));
        step = 160;
        WriteTrace(kRoutine, u"Raw Quillmark text: " + stamp);
        // Each token kind works on what the previous one left, so a value inserted earlier (an
        // author holding "<date>") is filled in by the later replacements.
        step = 162;
        stamp = ReplaceIgnoringCase(folding, stamp, u"<date>", dateText);
        step = 164;
        stamp = ReplaceIgnoringCase(folding, stamp, u"<time>", timeText);

        // The zone is named by a fresh CTimeZone per token. Naming it must never stop a send, so
        // an error here abandons that token, which then stays in the stamp as it is.
        auto fillZoneToken = [&](int firstStep, std::u16string_view word, std::u16string_view token,
                                 bool abbreviated) {
            step = firstStep;
            try {
                if (!ContainsIgnoringCase(folding, stamp, word)) return;
                CTimeZone zone(outside_, platform_);
                step = firstStep + 1;
                stamp = ReplaceIgnoringCase(folding, stamp, token,
                                            zone.GetCurrentTimeZone(abbreviated));
            } catch (...) {
            }
        };
        fillZoneToken(165, u"fulltimezone", u"<fulltimezone>", false);
        fillZoneToken(167, u"timezone", u"<timezone>", true);

        step = 169;
        WriteTrace(kRoutine, PreparingLine(mail->Subject()));

        step = 17;
        const std::int32_t intoSubject = platform_.numbers.ToInt32(
            settings_.Read(setting::kInsertIntoSubject, kDefaultInsertIntoSubject));
        if (intoSubject != 0) {
            mail->SetSubject(PlaceInSubject(folding, mail->Subject(), stampTemplate, stamp));
        } else {
            StampingRun run{outside_, folding, *mail, step,
                            [this](const std::u16string& line) { WriteTrace(kRoutine, line); }};
            PlaceInBody(run, stamp);
        }
        WriteTrace(kRoutine, u"Exiting");
    } catch (...) {
        ReportError(u"Error occurred at line " + Decimal(step) + u".  Reason: " +
                        DescribeCurrentException(),
                    0, kRoutine);
    }
}

}  // namespace quillmark
