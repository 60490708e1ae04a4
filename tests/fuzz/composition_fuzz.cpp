// Composing the stamp from an arbitrary template, author, date, time and zone name, through the
// stamping component with fake outside objects and platform, in subject mode on an empty
// subject (which then holds exactly the stamp). The stamp must be what one scan per token kind
// gives, in the order author, date, time, full zone name, zone abbreviation, each scan on what
// the previous one left; the "Raw" trace line shows the stamp after the author scan.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fake_host.h"
#include "fake_platform.h"
#include "fuzz_input.h"
#include "reference.h"
#include "settings/settings.h"
#include "stamping/process_outgoing_email.h"

using namespace quillmark;
using namespace quillmark::fuzzing;
using namespace quillmark::testing;

namespace {

// Gives every pattern as its own text, so the stored date and time patterns are the date and
// time texts of the stamp.
class PatternAsText : public DateTimeFormatter {
  public:
    std::u16string Format(const LocalDateTime&, const std::u16string& pattern) override {
        return pattern;
    }
};

struct Texts {
    std::u16string stampTemplate, date, time, zoneName;
    std::optional<std::u16string> author;  // absent: the setting is not stored
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Values may multiply each other's tokens; short texts keep a run quick.
    constexpr std::size_t kLimit = 128;
    FuzzInput input(data, size);
    Texts texts;
    const bool authorStored = input.Byte() % 4 != 0;
    texts.stampTemplate = input.Text(kLimit);
    texts.date = input.Text(kLimit);
    texts.time = input.Text(kLimit);
    texts.zoneName = input.Text(32);
    if (authorStored) texts.author = input.Text(kLimit);

    HostRecord record;
    FakeOutside outside(record);
    FakePlatform fakes;
    PatternAsText formatter;
    const Platform platform = fakes.Ports({.dateTimeFormatter = &formatter});
    ModuleSettings settings(outside, fakes.settings, fakes.policies);
    settings.Write(setting::kDateTimeStampText, texts.stampTemplate);
    settings.Write(setting::kDateFormat, texts.date);
    settings.Write(setting::kTimeFormat, texts.time);
    settings.Write(setting::kInsertIntoSubject, u"1");
    if (texts.author) settings.Write(setting::kAuthor, *texts.author);
    fakes.timeZone.Set(1, texts.zoneName, u"");
    const std::u16string zoneName = texts.zoneName.substr(0, texts.zoneName.find(u'\0'));

    FakeOutlookItem item(record);
    std::vector<std::u16string> trace;
    stamping::ProcessOutgoingEmail(
        {.outside = outside,
         .platform = platform,
         .settings = settings,
         .trace = [&](const std::u16string& line) { trace.push_back(line); }},
        item);
    Require(record.log.empty(), "composing and placing the stamp logs no error");
    if (texts.stampTemplate == kNotFound) {
        Require(item.subject.empty() && trace.empty(), "the absence sentinel stamps nothing");
        return 0;
    }

    const std::u16string withAuthor =
        ReplaceEach(texts.stampTemplate, u"<author>", texts.author.value_or(u"user"));
    std::u16string stamp = ReplaceEach(withAuthor, u"<date>", texts.date);
    stamp = ReplaceEach(stamp, u"<time>", texts.time);
    stamp = ReplaceEach(stamp, u"<fulltimezone>", zoneName);
    stamp = ReplaceEach(stamp, u"<timezone>", Abbreviation(zoneName));
    Require(trace.size() > 1 && trace[1] == u"Raw Quillmark text: " + withAuthor,
            "the raw trace line shows the template with the author filled in");
    Require(item.subject == stamp, "each token kind is replaced in one scan, in order");
    return 0;
}
