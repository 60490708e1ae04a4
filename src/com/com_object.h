#pragma once

// IUnknown for every object this DLL hands out: the reference count, QueryInterface answered
// from the object's own interface table, and a hold on the DLL-wide object count for as long as
// the object lives. The object lists its interfaces and keeps its destructor private, so that
// only the last Release ends it:
//
//   class TimeZoneObject final : public ComObject<TimeZoneObject, _CTimeZone, ISupportErrorInfo> {
//     public:
//       static const QITAB kInterfaces[];   // {QITABENT(TimeZoneObject, _CTimeZone), ..., {}}
//     private:
//       ~TimeZoneObject() override = default;
//   };
//   TimeZoneObject::Create(iid, result);

#include <shlwapi.h>
#include <unknwn.h>
#include <windows.h>

#include "com/com_error.h"
#include "com/module_lifetime.h"

namespace quillmark::com {

template <class Object, class... Interfaces>
class ComObject : public Interfaces... {
  public:
    // A new object whose first reference goes to the interface asked for; without that interface
    // the object goes again.
    template <class... Arguments>
    static HRESULT Create(REFIID iid, void** result, Arguments... arguments) {
        if (!result) return E_POINTER;
        *result = nullptr;
        Object* object = nullptr;
        const HRESULT created = Guarded([&] { object = new Object(arguments...); });
        if (FAILED(created)) return created;
        const HRESULT code = object->QueryInterface(iid, result);
        object->Release();
        return code;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override {
        return QISearch(static_cast<Object*>(this), Object::kInterfaces, iid, result);
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&references_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const auto left = static_cast<ULONG>(InterlockedDecrement(&references_));
        if (left == 0) delete this;
        return left;
    }

  protected:
    ComObject() { LockModule(); }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;
    // Virtual, so that the last Release reaches the object's own private destructor.
    virtual ~ComObject() { UnlockModule(); }

  private:
    LONG references_ = 1;
};

}  // namespace quillmark::com
