#include "platform/windows/time_zone_source.h"

#include <windows.h>

#include <cstring>

namespace quillmark::windows {

TimeZoneRecord WindowsTimeZoneSource::Query() {
    // Zero-filled first, so a field the system leaves untouched reads as an empty name.
    TIME_ZONE_INFORMATION information{};
    TimeZoneRecord record;
    // TIME_ZONE_ID_INVALID is passed on like any other code: the caller treats it as "no name".
    record.resultCode = GetTimeZoneInformation(&information);
    static_assert(sizeof information.StandardName == sizeof record.standardName);
    static_assert(sizeof information.DaylightName == sizeof record.daylightName);
    std::memcpy(record.standardName.data(), information.StandardName, sizeof record.standardName);
    std::memcpy(record.daylightName.data(), information.DaylightName, sizeof record.daylightName);
    return record;
}

}  // namespace quillmark::windows
