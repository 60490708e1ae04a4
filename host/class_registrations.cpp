#include "class_registrations.h"

#include <shlwapi.h>

#include <atomic>
#include <new>

#include "host_library.h"
#include "mail_helper.h"
#include "owners.h"

namespace standin {

namespace {

// A multi-use class factory for one of the host's classes; creation can be set to fail.
template <class T>
class ClassFactory : public IClassFactory {
  public:
    explicit ClassFactory(const char* creationPoint) : creationPoint_(creationPoint) {}
    ClassFactory(const ClassFactory&) = delete;
    ClassFactory& operator=(const ClassFactory&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        static const QITAB interfaces[] = {QITABENT(ClassFactory, IClassFactory), {}};
        return QISearch(this, interfaces, iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        HRESULT failure;
        if (Injected(creationPoint_, &failure)) return failure;
        const auto object = ComPtr<T>::Adopt(new (std::nothrow) T());
        if (!object) return E_OUTOFMEMORY;
        return object->QueryInterface(iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

  private:
    virtual ~ClassFactory() = default;

    std::atomic<ULONG> references_{1};  // objects may be used from more than one apartment
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
