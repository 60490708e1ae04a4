#pragma once

#include "platform/platform.h"

namespace quillmark::windows {

// Formats with the automation runtime's VarFormat, which applies the user's regional settings.
// Throws quillmark::Error when the date is out of range or the pattern is refused.
class VariantDateTimeFormatter : public DateTimeFormatter {
  public:
    std::u16string Format(const LocalDateTime& value, const std::u16string& pattern) override;
};

}  // namespace quillmark::windows
