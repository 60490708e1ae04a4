#include "class_registrations.h"

#include <new>
#include <stdexcept>

#include "engine_library.h"
#include "json_text.h"
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
void RegisterFactory(REFCLSID clsid, const char* creationPoint, std::vector<DWORD>& cookies) {
    auto factory = ComPtr<IClassFactory>::Adopt(new ClassFactory<T>(creationPoint));
    DWORD cookie = 0;
    const HRESULT result = CoRegisterClassObject(clsid, factory.Get(), CLSCTX_INPROC_SERVER,
                                                 REGCLS_MULTIPLEUSE, &cookie);
    if (FAILED(result))
        throw std::runtime_error("registering the host's classes failed: " + HresultText(result));
    cookies.push_back(cookie);
}

}  // namespace

ClassRegistrations::~ClassRegistrations() {
    for (DWORD cookie : cookies_) CoRevokeClassObject(cookie);
}

void ClassRegistrations::RegisterAll() {
    RegisterFactory<HostServices>(CLSID_HostServices, "hostservices.create", cookies_);
    RegisterFactory<EventLogWriter>(CLSID_EventLogWriter, "eventlog.create", cookies_);
    RegisterFactory<BodyFormatProbe>(CLSID_BodyFormatProbe, "probe.create", cookies_);
    RegisterFactory<MapiUtils>(CLSID_QXMAPIUtils, "mapiutils.create", cookies_);
    RegisterFactory<SafeMailItem>(CLSID_QXSafeMailItem, "safeitem.create", cookies_);
}

}  // namespace standin
