#include "check/desktop_check.h"

#include <algorithm>
#include <utility>

#include "base/error.h"
#include "check/wording.h"
#include "settings/settings.h"
#include "stamping/placement.h"
#include "stamping/process_outgoing_email.h"
#include "stamping/separators.h"
#include "stamping/text_search.h"
#include "timezone/time_zone.h"

namespace quillmark::check {

namespace {

// Sends the message through the module's stamping routine, with the settings the application
// has, and keeps what the routine did to it.
HeldMessage Send(const Platform& platform, const std::u16string& application,
                 const MessageSample& sample) {
    HeldMessage message;
    message.format = sample.format;
    message.subject = sample.subject;
    message.body = sample.body;
    HeldOutside outside(application, message);
    ModuleSettings settings(outside, platform.settings, platform.policies);
    struct SentItem : OutlookItem {
        std::u16string TypeName() override { return u"MailItem"; }
        bool SubmittedEqualsTrue() override { return false; }
    } item;
    stamping::ProcessOutgoingEmail(
        {.outside = outside,
         .platform = platform,
         .settings = settings,
         .trace = [&](const std::u16string& line) { message.trace.push_back(line); }},
        item);
    return message;
}

// Formats as the stamping routine tells them apart: any other text is plain text.
stamping::BodyFormat FormatOf(std::u16string_view format) {
    if (format == u"HTML") return stamping::BodyFormat::kHtml;
    if (format == u"RTF") return stamping::BodyFormat::kRtf;
    return stamping::BodyFormat::kPlain;
}

Placement Place(const Platform& platform, const std::u16string& application,
                const MessageSample& sample) {
    Placement placement;
    placement.sample = sample;
    placement.sent = Send(platform, application, sample);
    const HeldMessage& sent = placement.sent;
    if (!sent.log.empty() || (!sent.subjectWritten && !sent.bodyWritten)) {
        placement.where = u"not stamped";
    } else if (sent.subjectWritten) {
        placement.where = u"in the subject";
    } else if (const auto separator =
                   stamping::FindEarliestSeparator(FormatOf(sample.format), sample.body)) {
        placement.where = u"before the earlier message";
        placement.separator = separator->row->name;
    } else {
        placement.where = u"at the end";
    }
    return placement;
}

const SettingReport& Find(const std::vector<SettingReport>& settings, std::u16string_view name) {
    return *std::find_if(settings.begin(), settings.end(),
                         [&](const SettingReport& s) { return s.name == name; });
}

void AddSettingProblems(const Platform& platform, ApplicationCheck& check) {
    auto add = [&](bool fails, const std::u16string& setting, std::u16string what,
                   std::u16string consequence) {
        check.problems.push_back({fails, setting, std::move(what), std::move(consequence)});
    };
    const SettingReport& intoSubject = Find(check.settings, setting::kInsertIntoSubject);
    try {
        platform.numbers.ToInt32(intoSubject.value);
    } catch (...) {
        add(true, intoSubject.name,
            u"InsertIntoSubject " + Quoted(intoSubject.value) + u" is not a number (" +
                DescribeCurrentException() + u").",
            u"Every send logs an error at line 17 and goes out unstamped.");
    }
    for (const char16_t* name : {setting::kDateFormat, setting::kTimeFormat}) {
        const SettingReport& pattern = Find(check.settings, name);
        try {
            platform.dateTimeFormatter.Format(platform.clock.Now(), pattern.value);
        } catch (...) {
            add(true, pattern.name,
                pattern.name + u" cannot be used: " + DescribeCurrentException(),
                u"Every send logs an error at line 8 and goes out unstamped.");
        }
    }
    const SettingReport& stampTemplate = Find(check.settings, setting::kDateTimeStampText);
    if (stampTemplate.value == kNotFound) {
        add(true, stampTemplate.name,
            stampTemplate.origin == Origin::kDefault
                ? u"There is no stamp template: DateTimeStampText is missing."
                : u"There is no stamp template: DateTimeStampText (" +
                      std::u16string(Describe(stampTemplate.origin)) + u") holds \"Not Found\".",
            u"Nothing is stamped.");
    } else {
        CaseFolding& folding = platform.caseFolding;
        if (check.stamp && *check.stamp == stampTemplate.value) {
            add(false, stampTemplate.name, u"The template holds no token.",
                u"Every message gets the same fixed text, without date, time or author.");
        }
        if (stamping::ContainsIgnoringCase(folding, stampTemplate.value, u"<timezone>") &&
            !check.zoneName.empty() && check.zoneAbbreviation == check.zoneName) {
            add(false, stampTemplate.name,
                u"The time zone " + Quoted(check.zoneName) + u" has no abbreviation in the table.",
                u"<timezone> shows the full name.");
        }
        const SettingReport& author = Find(check.settings, setting::kAuthor);
        if (stamping::ContainsIgnoringCase(folding, stampTemplate.value, u"<author>") &&
            author.origin == Origin::kDefault) {
            add(false, author.name, u"Author is missing.",
                u"The stamp says \"user\" until the module writes the login name at its next "
                u"start.");
        }
    }
    for (const SettingReport& setting : check.settings) {
        for (const IgnoredValue& ignored : setting.ignored) {
            if (ignored.why != IgnoredValue::Why::kOtherKind) continue;
            add(false, setting.name,
                Capitalised(Describe(ignored.origin)) + u" " + setting.name + u" " +
                    ignored.reason + u".",
                Capitalised(Describe(setting.origin)) + u" applies.");
        }
    }
}

ApplicationCheck CheckApplication(const Platform& platform, const std::u16string& application,
                                  bool sectionFound, const std::vector<MessageSample>& samples) {
    ApplicationCheck check;
    check.application = application;
    check.location = platform.settings.Location(application, kModuleName);
    check.sectionFound = sectionFound;
    HeldMessage readings;
    HeldOutside outside(application, readings);
    ModuleSettings settings(outside, platform.settings, platform.policies);
    for (const SettingDefinition& definition : kSettingTable)
        check.settings.push_back(ReportSetting(settings, platform, application, definition));
    CTimeZone zone(outside, platform);
    check.zoneName = zone.GetCurrentTimeZone(false);
    check.zoneAbbreviation = zone.GetCurrentTimeZone(true);

    // An empty new plain-text message shows the stamp itself: in the subject it is the whole
    // subject, in the body it follows the blank line that sets it off.
    MessageSample empty;
    empty.format = u"Text";
    const HeldMessage probe = Send(platform, application, empty);
    check.intoSubject = probe.subjectWritten;
    check.sendLog = probe.log;
    if (probe.log.empty() && probe.subjectWritten) {
        check.stamp = probe.subject;
    } else if (probe.log.empty() && probe.bodyWritten) {
        check.stamp = probe.body.substr(stamping::kBlankLine.size());
    }
    for (const MessageSample& sample : samples)
        check.placements.push_back(Place(platform, application, sample));

    if (!sectionFound) {
        check.problems.push_back(
            {true,
             {},
             u"There is no Quillmark section at " + check.location + u".",
             u"Quillmark has not started for this user under this application name, or the host "
             u"engine reports another one: settings stored here are not read."});
    }
    AddSettingProblems(platform, check);
    const bool explained = std::any_of(check.problems.begin(), check.problems.end(),
                                       [](const Problem& problem) { return problem.failsSends; });
    if (!probe.log.empty() && !explained) {
        check.problems.push_back({true,
                                  {},
                                  u"Sending logs " + Quoted(probe.log.front()) + u".",
                                  u"The message goes out as it then stands."});
    }
    return check;
}

}  // namespace

bool DesktopCheck::SendsFail() const {
    const auto fails = [](const Problem& problem) { return problem.failsSends; };
    return std::any_of(problems.begin(), problems.end(), fails) ||
           std::any_of(applications.begin(), applications.end(), [&](const ApplicationCheck& a) {
               return std::any_of(a.problems.begin(), a.problems.end(), fails);
           });
}

DesktopCheck CheckDesktop(const Platform& platform, const std::vector<std::u16string>& named,
                          const std::vector<MessageSample>& samples) {
    DesktopCheck desktop;
    try {
        desktop.user = platform.loginName.UserName();
    } catch (...) {
        desktop.user = u"unknown: " + DescribeCurrentException();
    }
    desktop.policyLocations = {platform.policies.Location(PolicyScope::kMachine),
                               platform.policies.Location(PolicyScope::kUser)};
    const std::vector<std::u16string> holding = platform.settings.ApplicationsWith(kModuleName);
    const std::vector<std::u16string>& applications = named.empty() ? holding : named;
    if (applications.empty()) {
        desktop.problems.push_back(
            {true,
             {},
             u"There is no Quillmark section at " +
                 platform.settings.Location(u"<application name>", kModuleName) +
                 u" for any application name.",
             u"Quillmark has not started for this user; name the host engine's application with "
             u"--app-name to check settings stored before its first start."});
    }
    for (const std::u16string& application : applications) {
        const bool found = std::find(holding.begin(), holding.end(), application) != holding.end();
        desktop.applications.push_back(CheckApplication(platform, application, found, samples));
    }
    return desktop;
}

}  // namespace quillmark::check
