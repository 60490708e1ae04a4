#include <nlohmann/json.hpp>

#include "base/text.h"
#include "check/reports.h"

namespace quillmark::check {

namespace {

using nlohmann::json;

json Text(std::u16string_view text) {
    return ToUtf8(text);
}

json OrNull(std::u16string_view text) {
    return text.empty() ? json(nullptr) : Text(text);
}

json Problems(const std::vector<Problem>& problems) {
    json list = json::array();
    for (const Problem& problem : problems)
        list.push_back({{"severity", problem.failsSends ? "error" : "warning"},
                        {"setting", OrNull(problem.setting)},
                        {"problem", Text(problem.what)},
                        {"consequence", Text(problem.consequence)}});
    return list;
}

json Lines(const std::vector<std::u16string>& lines) {
    json list = json::array();
    for (const std::u16string& line : lines) list.push_back(Text(line));
    return list;
}

json Application(const ApplicationCheck& check) {
    json settings = json::array(), placements = json::array();
    for (const SettingReport& setting : check.settings) {
        json ignored = json::array();
        for (const IgnoredValue& value : setting.ignored)
            ignored.push_back(
                {{"origin", Text(Identifier(value.origin))}, {"reason", Text(value.reason)}});
        settings.push_back({{"name", Text(setting.name)},
                            {"value", Text(setting.value)},
                            {"origin", Text(Identifier(setting.origin))},
                            {"ignored", ignored}});
    }
    for (const Placement& placement : check.placements)
        placements.push_back({{"sample", Text(placement.sample.name)},
                              {"format", Text(placement.sample.format)},
                              {"where", Text(placement.where)},
                              {"separator", OrNull(placement.separator)},
                              {"subject", Text(placement.sent.subject)},
                              {"log", Lines(placement.sent.log)}});
    return {{"application", Text(check.application)},
            {"location", Text(check.location)},
            {"sectionFound", check.sectionFound},
            {"settings", settings},
            {"timeZone",
             {{"name", Text(check.zoneName)}, {"abbreviation", Text(check.zoneAbbreviation)}}},
            {"stamp", check.stamp ? Text(*check.stamp) : json(nullptr)},
            {"into", check.intoSubject ? "subject" : "body"},
            {"sendLog", Lines(check.sendLog)},
            {"placements", placements},
            {"problems", Problems(check.problems)}};
}

}  // namespace

std::string JsonReport(const DesktopCheck& check, std::u16string_view version) {
    json applications = json::array();
    for (const ApplicationCheck& application : check.applications)
        applications.push_back(Application(application));
    const json report = {
        {"version", Text(version)},
        {"user", Text(check.user)},
        {"policyLocations",
         {{"machine", Text(check.policyLocations[0])}, {"user", Text(check.policyLocations[1])}}},
        {"problems", Problems(check.problems)},
        {"applications", applications},
        {"sendsFail", check.SendsFail()}};
    return report.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

}  // namespace quillmark::check
