#pragma once

// CTimeZone names the time zone in force, as the platform reports it at the moment of the call:
// its standard-time or daylight-time name, or that name's abbreviation from a fixed table.
//
//   CTimeZone zone(outside, platform);
//   zone.GetCurrentTimeZone(false);   // u"Pacific Standard Time"
//   zone.GetCurrentTimeZone(true);    // u"PST"

#include <string>

#include "outside/outside_ports.h"
#include "platform/platform.h"

namespace quillmark {

// Reports the time zone in force, in full or abbreviated. Holds no state of its own: every call
// asks the platform anew.
class CTimeZone {
  public:
    CTimeZone(OutsideObjects& outside, const Platform& platform);

    // Never fails for an error of the lookup itself: that is logged through HostServices and the
    // empty text is returned. Only a failure of that log reaches the caller.
    std::u16string GetCurrentTimeZone(bool abbreviationsWanted);

  private:
    static std::u16string TrimAtNull(const std::u16string& text);
    std::u16string GetTimeZoneAbbreviation(const std::u16string& zoneName);

    OutsideObjects& outside_;
    Platform platform_;
};

}  // namespace quillmark
