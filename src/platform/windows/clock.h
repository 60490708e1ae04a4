#pragma once

#include "platform/platform.h"

namespace quillmark::windows {

// The machine's local time (GetLocalTime).
class SystemClock : public Clock {
  public:
    LocalDateTime Now() override;
};

}  // namespace quillmark::windows
