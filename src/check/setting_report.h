#pragma once

// Each setting as a send finds it: the value in force, where it comes from, and every stored
// value that does not count, with the reason.

#include <string>
#include <vector>

#include "platform/platform.h"
#include "settings/settings.h"

namespace quillmark::check {

// Where a value comes from, strongest first.
enum class Origin { kMachinePolicy, kUserPolicy, kUserSetting, kDefault };

// "machine policy", "user policy", "the user's setting", "the default".
std::u16string_view Describe(Origin origin);
// "machinePolicy", "userPolicy", "userSetting", "default".
std::u16string_view Identifier(Origin origin);

struct IgnoredValue {
    enum class Why { kOtherKind, kOverridden, kSentinel };
    Origin origin;
    Why why;
    std::u16string
        reason;  // follows the origin: "the user's setting" + " is stored as REG_DWORD..."
};

struct SettingReport {
    std::u16string name;
    std::u16string value;  // in force
    Origin origin;
    // Stored and not used, in the order of the origins.
    std::vector<IgnoredValue> ignored;
};

// Reads the setting through the module's own settings reader, and each place it may come from
// on its own to explain what it finds.
SettingReport ReportSetting(ModuleSettings& settings, const Platform& platform,
                            const std::u16string& application, const SettingDefinition& setting);

}  // namespace quillmark::check
