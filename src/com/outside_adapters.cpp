#include "com/outside_adapters.h"

#include "base/error.h"
#include "com/com_error.h"
#include "com/host_library_names.h"
#include "com/late_bound.h"
#include "com/outlook_item.h"
#include "platform/windows/owners.h"

namespace quillmark::com {

namespace {

using windows::BstrText;
using windows::MakeBstr;
using windows::UniqueBstr;

template <class Interface>
ComPtr<Interface> CreateByClsid(const CLSID& clsid) {
    ComPtr<Interface> object;
    CallOutside([&] {
        return CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, __uuidof(Interface),
                                object.ReceiveVoid());
    });
    return object;
}

LateBound CreateByProgId(const wchar_t* progId) {
    CLSID clsid{};
    CallOutside([&] { return CLSIDFromProgID(progId, &clsid); });
    return LateBound(CreateByClsid<IDispatch>(clsid));
}

// A port served by the outside object it holds: an early-bound interface or a LateBound.
template <class Port, class Object>
class Adapter : public Port {
  public:
    explicit Adapter(Object object) : object_(std::move(object)) {}

  protected:
    Object object_;
};

class ComHostServices : public Adapter<HostServices, ComPtr<host::HostServicesApi>> {
  public:
    using Adapter::Adapter;

    void WriteLog(const std::u16string& message, std::int32_t level,
                  const std::u16string& source) override {
        UniqueBstr messageText = MakeBstr(message), sourceText = MakeBstr(source);
        LONG levelValue = level;
        CallOutside([&] {
            return object_->WriteLog(messageText.Address(), &levelValue, sourceText.Address());
        });
    }

    std::u16string RegistryAppName() override {
        UniqueBstr name;
        CallOutside([&] { return object_->get_RegistryAppName(name.Receive()); });
        return BstrText(name.Get());
    }
};

class ComMapiUtils : public Adapter<MapiUtils, LateBound> {
  public:
    using Adapter::Adapter;
    void Cleanup() override { object_.Call(L"Cleanup"); }
};

class ComEventLogWriter : public Adapter<EventLogWriter, ComPtr<host::EventLogWriterApi>> {
  public:
    using Adapter::Adapter;

    void WriteEvent(const std::u16string& application, const std::u16string& procedure,
                    const std::u16string& message, std::int32_t level) override {
        UniqueBstr applicationText = MakeBstr(application), procedureText = MakeBstr(procedure),
                   messageText = MakeBstr(message);
        LONG levelValue = level;
        CallOutside([&] {
            return object_->WriteEvent(applicationText.Address(), procedureText.Address(),
                                       messageText.Address(), &levelValue);
        });
    }
};

class ComSafeMailItem : public Adapter<SafeMailItem, LateBound> {
  public:
    using Adapter::Adapter;

    void BindItem(OutlookItem& item) override {
        VARIANT value{};
        V_VT(&value) = VT_DISPATCH;
        V_DISPATCH(&value) = dynamic_cast<ComOutlookItem&>(item).Dispatch();
        object_.Put(L"item", value);
    }
    void Save() override { object_.Call(L"Save"); }
    SharedText Subject() override { return object_.GetText(L"Subject"); }
    void SetSubject(SplicedText value) override { object_.PutText(L"Subject", std::move(value)); }
    SharedText Body() override { return object_.GetText(L"Body"); }
    void SetBody(SplicedText value) override { object_.PutText(L"Body", std::move(value)); }
    SharedText HTMLBody() override { return object_.GetText(L"HTMLBody"); }
    void SetHTMLBody(SplicedText value) override { object_.PutText(L"HTMLBody", std::move(value)); }
    SharedText RTFBody() override { return object_.GetText(L"RTFBody"); }
    void SetRTFBody(SplicedText value) override { object_.PutText(L"RTFBody", std::move(value)); }

    IDispatch* Dispatch() const { return object_.Dispatch(); }
};

class ComBodyFormatProbe : public Adapter<BodyFormatProbe, ComPtr<host::BodyFormatProbeApi>> {
  public:
    using Adapter::Adapter;

    std::u16string GetBodyFormat(SafeMailItem& item) override {
        ComPtr<IDispatch> wrapper(dynamic_cast<ComSafeMailItem&>(item).Dispatch());
        UniqueBstr format;
        CallOutside([&] { return object_->GetBodyFormat(wrapper.Address(), format.Receive()); });
        return BstrText(format.Get());
    }
};

}  // namespace

HostServices& ComOutsideObjects::GetHostServices() {
    // One per thread, created on first use and deliberately never released: the host library
    // owns its lifetime, and releasing it while threads or the DLL shut down could call into a
    // library that is already gone.
    thread_local HostServices* services = nullptr;
    if (!services)
        services =
            new ComHostServices(CreateByClsid<host::HostServicesApi>(host::kHostServicesClsid));
    return *services;
}

std::unique_ptr<MapiUtils> ComOutsideObjects::CreateMapiUtils() {
    return std::make_unique<ComMapiUtils>(CreateByProgId(host::kMapiUtilsProgId));
}

std::unique_ptr<EventLogWriter> ComOutsideObjects::CreateEventLogWriter() {
    return std::make_unique<ComEventLogWriter>(
        CreateByClsid<host::EventLogWriterApi>(host::kEventLogWriterClsid));
}

std::unique_ptr<SafeMailItem> ComOutsideObjects::CreateSafeMailItem() {
    return std::make_unique<ComSafeMailItem>(CreateByProgId(host::kSafeMailItemProgId));
}

std::unique_ptr<BodyFormatProbe> ComOutsideObjects::CreateBodyFormatProbe() {
    return std::make_unique<ComBodyFormatProbe>(
        CreateByClsid<host::BodyFormatProbeApi>(host::kBodyFormatProbeClsid));
}

ComOutsideObjects& TheOutsideObjects() {
    static ComOutsideObjects objects;
    return objects;
}

}  // namespace quillmark::com
