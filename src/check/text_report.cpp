#include "check/reports.h"
#include "check/wording.h"

namespace quillmark::check {

namespace {

// The column the values start in, whatever the label's indent.
constexpr std::size_t kValueColumn = 24;

// "  label      text" with the labels in one column.
void Line(std::u16string& out, int indent, std::u16string_view label, std::u16string_view text) {
    const std::size_t used = static_cast<std::size_t>(indent) + label.size();
    out.append(static_cast<std::size_t>(indent), u' ').append(label);
    out.append(used < kValueColumn ? kValueColumn - used : 1, u' ');
    out.append(text).append(u"\r\n");
}

void Problems(std::u16string& out, int indent, const std::vector<Problem>& problems) {
    for (const Problem& problem : problems) {
        Line(out, indent, problem.failsSends ? u"error" : u"warning", problem.what);
        Line(out, indent, u"", problem.consequence);
    }
}

std::u16string Where(const Placement& placement) {
    std::u16string where = placement.where;
    if (!placement.separator.empty()) where += u", at " + placement.separator;
    if (placement.sent.subjectWritten) where += u": " + Quoted(placement.sent.subject);
    return where;
}

void Application(std::u16string& out, const ApplicationCheck& check) {
    out += u"\r\nApplication name " + check.application + u"\r\n";
    out += u"  Settings at " + check.location + u"\r\n";
    for (const SettingReport& setting : check.settings) {
        Line(out, 4, setting.name,
             Quoted(setting.value) + u", " + std::u16string(Describe(setting.origin)));
        for (const IgnoredValue& ignored : setting.ignored)
            Line(out, 4, u"",
                 u"ignored: " + std::u16string(Describe(ignored.origin)) + u" " + ignored.reason);
    }
    Line(out, 2, u"Time zone", check.zoneName + u" (<timezone>: " + check.zoneAbbreviation + u")");
    if (check.stamp) {
        Line(out, 2, u"Stamp", Quoted(*check.stamp));
    } else if (!check.sendLog.empty()) {
        Line(out, 2, u"Stamp", u"none: a send logs " + Quoted(check.sendLog.front()));
    } else {
        Line(out, 2, u"Stamp", u"none: nothing is stamped");
    }
    out += !check.stamp        ? u"  Where it goes:\r\n"
           : check.intoSubject ? u"  Where it goes, in the subject:\r\n"
                               : u"  Where it goes, in the body:\r\n";
    for (const Placement& placement : check.placements)
        Line(out, 4, placement.sample.name, Where(placement));
    if (check.problems.empty()) {
        out += u"  Problems: none.\r\n";
    } else {
        out += u"  Problems:\r\n";
        Problems(out, 4, check.problems);
    }
}

}  // namespace

std::u16string TextReport(const DesktopCheck& check, std::u16string_view version) {
    std::u16string out = u"Quillmark check " + std::u16string(version) + u"\r\n";
    Line(out, 0, u"User", check.user);
    Line(out, 0, u"Machine policy", check.policyLocations[0]);
    Line(out, 0, u"User policy", check.policyLocations[1]);
    Problems(out, 0, check.problems);
    for (const ApplicationCheck& application : check.applications) Application(out, application);
    return out;
}

}  // namespace quillmark::check
