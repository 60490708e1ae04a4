#include "stamping/process_outgoing_email.h"

#include <memory>
#include <string>
#include <utility>

#include "base/error.h"
#include "base/text.h"
#include "stamping/body_placement.h"
#include "stamping/placement.h"
#include "stamping/text_search.h"
#include "stamping/token_table.h"

namespace quillmark::stamping {

namespace {

constexpr char16_t kLogSource[] = u"Quillmark.ProcessOutgoingEmail";

std::u16string PreparingLine(std::u16string_view subject) {
    return SplicedText{u"Preparing to add Quillmark to email with Subject: '", subject, u"'"}
        .Join();
}

}  // namespace

// `step` holds the number of the step last begun; the error line quotes it, so the numbers are
// fixed and must not be renumbered.
void ProcessOutgoingEmail(const StampingServices& services, OutlookItem& item) {
    const Platform& platform = services.platform;
    ModuleSettings& settings = services.settings;
    const auto& trace = services.trace;
    int step = 2;
    try {
        // Only mail messages are stamped; meeting requests and other items pass untouched.
        if (item.TypeName() != u"MailItem") return;

        step = 8;
        const std::unique_ptr<SafeMailItem> mail = services.outside.CreateSafeMailItem();
        mail->BindItem(item);
        mail->Save();  // the only save: later edits go out with the send itself
        const std::u16string dateFormat = settings.Read(setting::kDateFormat, kDefaultDateFormat);
        const std::u16string timeFormat = settings.Read(setting::kTimeFormat, kDefaultTimeFormat);
        // One reading of the clock for both, so that a message sent at midnight never carries
        // the date of one day and the time of the next.
        const LocalDateTime now = platform.clock.Now();
        const std::u16string dateText = platform.dateTimeFormatter.Format(now, dateFormat);
        const std::u16string timeText = platform.dateTimeFormatter.Format(now, timeFormat);

        step = 12;
        const std::u16string stampTemplate = settings.Read(setting::kDateTimeStampText, kNotFound);

        step = 14;
        if (stampTemplate == kNotFound) return;  // no template stored: nothing to stamp
        CaseFolding& folding = platform.caseFolding;
        std::u16string stamp = stampTemplate;
        const TokenSources sources{services, dateText, timeText};
        auto fill = [&](bool beforeRawTrace) {
            for (const StampToken& row : kStampTokens) {
                if (row.beforeRawTrace != beforeRawTrace) continue;
                step = row.checkStep;
                try {
                    if (!row.presence.empty() &&
                        !ContainsIgnoringCase(folding, stamp, row.presence))
                        continue;
                    step = row.fillStep;
                    stamp = ReplaceIgnoringCase(folding, stamp, row.token, row.value(sources));
                } catch (...) {
                    if (!row.failureKeepsToken) throw;
                }
            }
        };
        fill(true);

        step = 16;
        trace(PreparingLine(mail->Subject()));
        step = 160;
        trace(u"Raw Quillmark text: " + stamp);
        fill(false);

        step = 169;
        trace(PreparingLine(mail->Subject()));

        step = 17;
        const std::int32_t intoSubject = platform.numbers.ToInt32(
            settings.Read(setting::kInsertIntoSubject, kDefaultInsertIntoSubject));
        if (intoSubject != 0) {
            SharedText subject = mail->Subject();
            mail->SetSubject(
                PlaceInSubject(folding, subject, stampTemplate, stamp).CutFrom(std::move(subject)));
        } else {
            StampingRun run{services.outside, folding, *mail, step, trace};
            PlaceInBody(run, stamp);
        }
        trace(u"Exiting");
    } catch (...) {
        // A failure of the log itself is not caught: it reaches the caller.
        services.outside.GetHostServices().WriteLog(u"Error occurred at line " + Decimal(step) +
                                                        u".  Reason: " + DescribeCurrentException(),
                                                    0, kLogSource);
    }
}

}  // namespace quillmark::stamping
