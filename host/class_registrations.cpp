#include "class_registrations.h"

#include <new>

#include "engine_library.h"
#include "mail_helper_library.h"

namespace standin {

namespace {

// A multi-use class factory for one of the host's classes; creation can be set to fail.
template <class T>
class ClassFactory : public CountedObject<IClassFactory, IClassFactory> {
  public:
    explicit ClassFactory(const char* creationPoint) : creationPoint_(creationPoint) {}

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        const HRESULT failure = Answer([&] { TheRecord().Check(creationPoint_); });
        if (FAILED(failure)) return failure;
        const auto object = ComPtr<T>::Adopt(new (std::nothrow) T());
        if (!object) return E_OUTOFMEMORY;
        return object->QueryInterface(iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

  private:
    const char* creationPoint_;
};

template <class T>
HRESULT RegisterFactory(REFCLSID clsid, const char* creationPoint, std::vector<DWORD>& cookies) {
    auto factory = ComPtr<IClassFactory>::Adopt(new ClassFactory<T>(creationPoint));
    DWORD cookie = 0;
    const HRESULT result = CoRegisterClassObject(clsid, factory.Get(), CLSCTX_INPROC_SERVER,
                                                 REGCLS_MULTIPLEUSE, &cookie);
    if (SUCCEEDED(result)) cookies.push_back(cookie);
    return result;
}

}  // namespace

ClassRegistrations::~ClassRegistrations() {
    for (DWORD cookie : cookies_) CoRevokeClassObject(cookie);
}

HRESULT ClassRegistrations::RegisterAll() {
    HRESULT result = S_OK;
    if (SUCCEEDED(result))
        result = RegisterFactory<HostServices>(CLSID_HostServices, "hostservices.create", cookies_);
    if (SUCCEEDED(result))
        result = RegisterFactory<EventLogWriter>(CLSID_EventLogWriter, "eventlog.create", cookies_);
    if (SUCCEEDED(result))
        result = RegisterFactory<BodyFormatProbe>(CLSID_BodyFormatProbe, "probe.create", cookies_);
    if (SUCCEEDED(result))
        result = RegisterFactory<MapiUtils>(CLSID_QXMAPIUtils, "mapiutils.create", cookies_);
    if (SUCCEEDED(result))
        result = RegisterFactory<SafeMailItem>(CLSID_QXSafeMailItem, "safeitem.create", cookies_);
    return result;
}

}  // namespace standin
