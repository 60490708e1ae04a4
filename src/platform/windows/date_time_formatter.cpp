#include "platform/windows/date_time_formatter.h"

#include <windows.h>

#include "base/error.h"
#include "platform/windows/owners.h"
#include "platform/windows/win_error.h"

namespace quillmark::windows {

namespace {

// Sunday first, and the week that holds 1 January is the first week of the year.
constexpr int kFirstDayOfWeekSunday = 1;
constexpr ULONG kFirstWeekHoldsJanuaryFirst = 1;
// The longest pattern VarFormat is given. Longer ones are refused: Wine's VarFormat returns
// garbage for them, and no real date or time pattern comes near this length.
constexpr size_t kLongestPattern = 255;

}  // namespace

std::u16string VariantDateTimeFormatter::Format(const LocalDateTime& value,
                                                const std::u16string& pattern) {
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(value.year);
    time.wMonth = static_cast<WORD>(value.month);
    time.wDay = static_cast<WORD>(value.day);
    time.wHour = static_cast<WORD>(value.hour);
    time.wMinute = static_cast<WORD>(value.minute);
    time.wSecond = static_cast<WORD>(value.second);
    VARIANT date{};
    if (!SystemTimeToVariantTime(&time, &V_DATE(&date))) {
        throw Error(u"The date cannot be represented as an automation date");
    }
    V_VT(&date) = VT_DATE;

    if (pattern.size() > kLongestPattern) throw Error(u"The date or time format is too long");
    const UniqueBstr format = MakeBstr(pattern);
    UniqueBstr formatted;
    CheckWithSystemText(VarFormat(&date, format.Get(), kFirstDayOfWeekSunday,
                                  kFirstWeekHoldsJanuaryFirst, 0, formatted.Receive()));
    return BstrText(formatted.Get());
}

}  // namespace quillmark::windows
