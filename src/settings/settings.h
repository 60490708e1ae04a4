#pragma once

// The module's configuration: five per-user text settings in its own section of the settings
// store, their seeded defaults and the absence sentinel. Every read and write asks HostServices
// for the application name afresh, because the host may change it; nothing is cached.
//
//   ModuleSettings settings(outside, platform.settings);
//   std::u16string pattern = settings.Read(setting::kDateFormat, kDefaultDateFormat);
//   if (settings.Read(setting::kDateTimeStampText, kNotFound) == kNotFound) { /* none stored */ }

#include <string>

#include "outside/outside_objects.h"
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

// The module's section of the settings store.
class ModuleSettings {
  public:
    ModuleSettings(OutsideObjects& outside, SettingsStore& store)
        : outside_(outside), store_(store) {}

    std::u16string Read(const std::u16string& key, const std::u16string& fallback);
    void Write(const std::u16string& key, const std::u16string& value);

  private:
    OutsideObjects& outside_;
    SettingsStore& store_;
};

}  // namespace quillmark
