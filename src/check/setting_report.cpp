#include "check/setting_report.h"

#include <iterator>
#include <optional>
#include <utility>

#include "check/wording.h"

namespace quillmark::check {

namespace {

Origin OriginOf(PolicyScope scope) {
    return scope == PolicyScope::kMachine ? Origin::kMachinePolicy : Origin::kUserPolicy;
}

}  // namespace

namespace {

// How the text report and the JSON report name each origin.
struct OriginNames {
    Origin origin;
    std::u16string_view description;
    std::u16string_view identifier;
};
constexpr OriginNames kOriginNames[] = {
    {Origin::kMachinePolicy, u"machine policy", u"machinePolicy"},
    {Origin::kUserPolicy, u"user policy", u"userPolicy"},
    {Origin::kUserSetting, u"the user's setting", u"userSetting"},
    {Origin::kDefault, u"the default", u"default"},
};

const OriginNames& NamesOf(Origin origin) {
    for (const OriginNames& names : kOriginNames) {
        if (names.origin == origin) return names;
    }
    return kOriginNames[std::size(kOriginNames) - 1];
}

}  // namespace

std::u16string_view Describe(Origin origin) {
    return NamesOf(origin).description;
}

std::u16string_view Identifier(Origin origin) {
    return NamesOf(origin).identifier;
}

SettingReport ReportSetting(ModuleSettings& settings, const Platform& platform,
                            const std::u16string& application, const SettingDefinition& setting) {
    SettingReport report{.name = setting.name,
                         .value = settings.Read(setting.name, setting.fallback),
                         .origin = Origin::kDefault,
                         .ignored = {}};
    std::vector<std::pair<Origin, StoredValue>> stored;
    if (setting.enforceable) {
        stored.emplace_back(Origin::kMachinePolicy,
                            platform.policies.Read(PolicyScope::kMachine, setting.name));
        stored.emplace_back(Origin::kUserPolicy,
                            platform.policies.Read(PolicyScope::kUser, setting.name));
    }
    stored.emplace_back(Origin::kUserSetting,
                        platform.settings.Inspect(application, kModuleName, setting.name));

    if (const std::optional<EnforcedValue> enforced = settings.ReadPolicy(setting.name)) {
        report.origin = OriginOf(enforced->scope);
    } else if (stored.back().second.IsText()) {
        report.origin = Origin::kUserSetting;
    }
    for (const auto& [origin, value] : stored) {
        if (value.kind == StoredValue::Kind::kOtherKind) {
            report.ignored.push_back({origin, IgnoredValue::Why::kOtherKind,
                                      u"is stored as " + value.kindName +
                                          u", not as text (REG_SZ), and counts as missing"});
        } else if (value.IsText() && origin > report.origin) {
            report.ignored.push_back({origin, IgnoredValue::Why::kOverridden,
                                      Quoted(value.text) + u", overridden by " +
                                          std::u16string(Describe(report.origin))});
        }
    }
    // Readers that tell a missing value by the absence sentinel take a stored sentinel for one.
    if (setting.fallback == std::u16string_view(kNotFound) && report.value == kNotFound &&
        report.origin != Origin::kDefault) {
        report.ignored.push_back({report.origin, IgnoredValue::Why::kSentinel,
                                  u"holds \"Not Found\", which counts as missing"});
    }
    return report;
}

}  // namespace quillmark::check
