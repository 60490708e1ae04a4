#include "platform/windows/clock.h"

#include <windows.h>

namespace quillmark::windows {

LocalDateTime SystemClock::Now() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace quillmark::windows
