// The COM face of the time zone reporter: its default interface _CTimeZone, dual.

#include "Quillmark.h"
#include "com/com_error.h"
#include "com/com_object.h"
#include "com/dispatch.h"
#include "com/objects.h"
#include "com/outside_adapters.h"
#include "com/type_info.h"
#include "platform/windows/owners.h"
#include "platform/windows/windows_platform.h"
#include "timezone/time_zone.h"

namespace quillmark::com {

namespace {

HRESULT LoadDefaultInterfaceTypeInfo(ComPtr<ITypeInfo>& info) {
    return LoadQuillmarkTypeInfo(IID__CTimeZone, info);
}

class TimeZoneObject final
    : public ComObject<TimeZoneObject,
                       DispatchThroughTypeInfo<_CTimeZone, LoadDefaultInterfaceTypeInfo>,
                       ISupportErrorInfo> {
  public:
    static const QITAB kInterfaces[];

    TimeZoneObject() : timeZone_(TheOutsideObjects(), windows::WindowsPlatform()) {}

    // ISupportErrorInfo
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
        return iid == IID__CTimeZone ? S_OK : S_FALSE;
    }

    // _CTimeZone. The argument is read, never written. An omitted optional argument may arrive
    // as a null pointer; that means False, the declared default.
    HRESULT STDMETHODCALLTYPE GetCurrentTimeZone(VARIANT_BOOL* abbreviationsWanted,
                                                 BSTR* result) override {
        if (!result) return E_POINTER;
        *result = nullptr;
        const bool wanted = abbreviationsWanted && *abbreviationsWanted != VARIANT_FALSE;
        return Guarded(
            [&] { *result = windows::MakeBstr(timeZone_.GetCurrentTimeZone(wanted)).Detach(); });
    }

  private:
    ~TimeZoneObject() override = default;

    quillmark::CTimeZone timeZone_;
};

const QITAB TimeZoneObject::kInterfaces[] = {
    QITABENT(TimeZoneObject, _CTimeZone),
    QITABENTMULTI(TimeZoneObject, IDispatch, _CTimeZone),
    QITABENT(TimeZoneObject, ISupportErrorInfo),
    {},
};

}  // namespace

HRESULT CreateTimeZoneObject(REFIID iid, void** result) {
    return TimeZoneObject::Create(iid, result);
}

}  // namespace quillmark::com
