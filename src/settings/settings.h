#pragma once

// The module's configuration: five per-user text settings in its own section of the settings
// store, their seeded defaults and the absence sentinel. An administrator may enforce four of them
// by policy, machine policy before user policy before the user's own value. Every read and write
// asks HostServices for the application name afresh, because the host may change it, and reads
// the policies afresh; nothing is cached.
//
//   ModuleSettings settings(outside, platform.settings, platform.policies);
//   std::u16string pattern = settings.Read(setting::kDateFormat, kDefaultDateFormat);
//   if (settings.Read(setting::kDateTimeStampText, kNotFound) == kNotFound) { /* none stored */ }

#include <optional>
#include <string>

#include "outside/outside_ports.h"
#include "platform/platform.h"

namespace quillmark {

// The module's own name: its registry name, its settings section and the first part of every
// log source.
inline constexpr char16_t kModuleName[] = u"Quillmark";

// The value a reader passes as fall-back to tell a missing setting from a stored one; compared
// exactly, so a value stored as literally "Not Found" counts as missing.
inline constexpr char16_t kNotFound[] = u"Not Found";

namespace setting {
inline constexpr char16_t kAuthor[] = u"Author";
inline constexpr char16_t kInsertIntoSubject[] = u"InsertIntoSubject";
inline constexpr char16_t kDateFormat[] = u"DateFormat";
inline constexpr char16_t kTimeFormat[] = u"TimeFormat";
inline constexpr char16_t kDateTimeStampText[] = u"DateTimeStampText";
}  // namespace setting

// What a fresh profile is seeded with; the first three are also what readers fall back to.
inline constexpr char16_t kDefaultDateFormat[] = u"m/d/yy";
inline constexpr char16_t kDefaultTimeFormat[] = u"h:nn AMPM";
inline constexpr char16_t kDefaultInsertIntoSubject[] = u"0";
inline constexpr char16_t kDefaultStampText[] =
    u"This email was sent on <date> at <time> <timezone> by <author>.";
// What the author token becomes while no author is stored.
inline constexpr char16_t kFallbackAuthor[] = u"user";

struct SettingDefinition {
    const char16_t* name;
    const char16_t* fallback;  // what a send uses while the setting is missing
    bool enforceable;          // a policy may set it
};

// The settings, in the order the administrator's guide lists them. The author is always the
// user's own: the module rewrites it with the login name at every start.
inline constexpr SettingDefinition kSettingTable[] = {
    {setting::kAuthor, kFallbackAuthor, false},
    {setting::kInsertIntoSubject, kDefaultInsertIntoSubject, true},
    {setting::kDateFormat, kDefaultDateFormat, true},
    {setting::kTimeFormat, kDefaultTimeFormat, true},
    {setting::kDateTimeStampText, kNotFound, true},
};

struct EnforcedValue {
    std::u16string text;
    PolicyScope scope;
};

// The module's section of the settings store, under the policies that may override it.
class ModuleSettings {
  public:
    ModuleSettings(OutsideObjects& outside, SettingsStore& store, PolicyStore& policies)
        : outside_(outside), store_(store), policies_(policies) {}

    // The value in force: the policy's where one enforces the key, else the user's own.
    std::u16string Read(const std::u16string& key, const std::u16string& fallback);
    // The user's own value, whatever a policy says: seeding looks at this alone.
    std::u16string ReadOwn(const std::u16string& key, const std::u16string& fallback);
    // The policy that enforces the key, machine policy first, if one does.
    std::optional<EnforcedValue> ReadPolicy(const std::u16string& key);
    void Write(const std::u16string& key, const std::u16string& value);

  private:
    OutsideObjects& outside_;
    SettingsStore& store_;
    PolicyStore& policies_;
};

}  // namespace quillmark
