// The COM face of the time zone reporter: its default interface _CTimeZone, dual.

#include <shlwapi.h>

#include "Quillmark.h"
#include "com/com_error.h"
#include "com/dispatch.h"
#include "com/module_lifetime.h"
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
    : public DispatchThroughTypeInfo<_CTimeZone, LoadDefaultInterfaceTypeInfo>,
      public ISupportErrorInfo {
  public:
    TimeZoneObject() : timeZone_(TheOutsideObjects(), windows::WindowsPlatform()) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override {
        static const QITAB interfaces[] = {
            QITABENT(TimeZoneObject, _CTimeZone),
            QITABENTMULTI(TimeZoneObject, IDispatch, _CTimeZone),
            QITABENT(TimeZoneObject, ISupportErrorInfo),
            {},
        };
        return QISearch(this, interfaces, iid, result);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return references_.Increment(); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = references_.Decrement();
        if (left == 0) delete this;
        return left;
    }

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
    ModuleReference moduleReference_;
    RefCount references_;
    quillmark::CTimeZone timeZone_;
};

}  // namespace

HRESULT CreateTimeZoneObject(REFIID iid, void** result) {
    return CreateObject<TimeZoneObject>(iid, result);
}

}  // namespace quillmark::com
