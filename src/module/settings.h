#pragma once

#include <string>

#include "module/host.h"
#include "platform/platform.h"

namespace quillmark {

// The module's own name: its registry name, its settings section and the first part of every
// log source.
inline constexpr char16_t kModuleName[] = u"Quillmark";

// The value a reader passes as fall-back to tell a missing setting from a stored one.
inline constexpr char16_t kNotFound[] = u"Not Found";

namespace setting {
inline constexpr char16_t kAuthor[] = u"Author";
inline constexpr char16_t kInsertIntoSubject[] = u"InsertIntoSubject";
inline constexpr char16_t kDateFormat[] = u"DateFormat";
inline constexpr char16_t kTimeFormat[] = u"TimeFormat";
inline constexpr char16_t kDateTimeStampText[] = u"DateTimeStampText";
}  // namespace setting

// The module's section of the settings store. The application name comes from HostServices
// afresh before every read and write: the host may change it, so it is never cached.
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
