#include "timezone/time_zone.h"

#include <cstddef>

#include "base/error.h"
#include "timezone/abbreviation_table.h"

namespace quillmark {

namespace {

// What the platform's result codes mean.
constexpr std::uint32_t kZoneIdUnknown = 0;
constexpr std::uint32_t kZoneIdStandard = 1;
constexpr std::uint32_t kZoneIdDaylight = 2;

// Reported when the platform gives no name at all.
constexpr char16_t kCannotDetermine[] = u"Cannot determine current time zone";

constexpr char16_t kLogSource[] = u"Quillmark.CTimeZone.GetCurrentTimeZone";

// The 64 bytes of a name field as 32 little-endian UTF-16 code units, padding included.
std::u16string NameFieldText(const std::array<std::uint8_t, 64>& field) {
    std::u16string text(field.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(field[2 * i] | (field[2 * i + 1] << 8));
    }
    return text;
}

}  // namespace

CTimeZone::CTimeZone(OutsideObjects& outside, const Platform& platform)
    : outside_(outside), platform_(platform) {}

std::u16string CTimeZone::GetCurrentTimeZone(bool abbreviationsWanted) {
    std::u16string result;
    try {
        const TimeZoneRecord record = platform_.timeZone.Query();
        std::u16string name;
        switch (record.resultCode) {
            case kZoneIdUnknown:
                // A zone without daylight saving time, or automatic adjustment switched off: the
                // standard name is the one in force.
                name = TrimAtNull(NameFieldText(record.standardName));
                if (name.empty()) name = kCannotDetermine;
                break;
            case kZoneIdStandard:
                name = TrimAtNull(NameFieldText(record.standardName));
                break;
            case kZoneIdDaylight:
                name = TrimAtNull(NameFieldText(record.daylightName));
                break;
            default:  // the platform's failure value and anything unknown: no name, no error
                break;
        }
        result = abbreviationsWanted ? GetTimeZoneAbbreviation(name) : name;
    } catch (...) {
        // A failure of the log itself is not caught: it reaches the caller.
        outside_.GetHostServices().WriteLog(
            u"Error occurred.  Reason: " + DescribeCurrentException(), 0, kLogSource);
    }
    return result;
}

std::u16string CTimeZone::TrimAtNull(const std::u16string& text) {
    return text.substr(0, text.find(u'\0'));
}

std::u16string CTimeZone::GetTimeZoneAbbreviation(const std::u16string& zoneName) {
    // Folding both sides with the locale's 1:1 upper-casing makes a plain search case-insensitive.
    // The rows are folded afresh on every call: nothing is kept between calls.
    const std::u16string foldedName = platform_.caseFolding.ToUpper(zoneName);
    for (const AbbreviationRow& row : kAbbreviationTable) {
        if (foldedName.find(platform_.caseFolding.ToUpper(row.name)) != std::u16string::npos) {
            return std::u16string(row.abbreviation);
        }
    }
    return zoneName;
}

}  // namespace quillmark
