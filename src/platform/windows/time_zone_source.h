#pragma once

#include "platform/platform.h"

namespace quillmark::windows {

// The zone in force as GetTimeZoneInformation reports it, asked anew at every query.
class WindowsTimeZoneSource : public TimeZoneSource {
  public:
    TimeZoneRecord Query() override;
};

}  // namespace quillmark::windows
