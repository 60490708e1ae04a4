#include "platform/windows/date_time_formatter.h"

#include <windows.h>
// After windows.h, which it needs.
#include <oleauto.h>

#include <memory>

#include "module/error.h"
#include "platform/windows/wide.h"
#include "platform/windows/win_error.h"

namespace quillmark::windows {

namespace {

// Sunday first, and the week that holds 1 January is the first week of the year.
constexpr int kFirstDayOfWeekSunday = 1;
constexpr ULONG kFirstWeekHoldsJanuaryFirst = 1;

struct BstrFree {
    void operator()(wchar_t* text) const { SysFreeString(text); }
};
using Bstr = std::unique_ptr<wchar_t, BstrFree>;

class Variant {
  public:
    Variant() { VariantInit(&value_); }
    ~Variant() { VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    VARIANT* get() { return &value_; }

  private:
    VARIANT value_;
};

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
    Variant date;
    if (!SystemTimeToVariantTime(&time, &V_DATE(date.get()))) {
        throw Error(u"The date cannot be represented as an automation date");
    }
    V_VT(date.get()) = VT_DATE;

    const Bstr format(SysAllocStringLen(WidePtr(pattern), static_cast<UINT>(pattern.size())));
    if (!format) ThrowHresult(E_OUTOFMEMORY);
    BSTR raw = nullptr;
    const HRESULT result = VarFormat(date.get(), format.get(), kFirstDayOfWeekSunday,
                                     kFirstWeekHoldsJanuaryFirst, 0, &raw);
    const Bstr formatted(raw);
    Check(result);
    return FromWide(std::wstring_view(formatted.get(), SysStringLen(formatted.get())));
}

}  // namespace quillmark::windows
