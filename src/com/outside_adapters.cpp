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
ComPtr<Interface> CreateByClsid(const CLSID& clsid, const IID& iid) {
    ComPtr<Interface> object;
    ForgetErrorInfo();
    CheckOutside(CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, iid,
                                  reinterpret_cast<void**>(object.Receive())));
    return object;
}

ComPtr<IDispatch> CreateByProgId(const wchar_t* progId) {
    CLSID clsid{};
    ForgetErrorInfo();
    CheckOutside(CLSIDFromProgID(progId, &clsid));
    return CreateByClsid<IDispatch>(clsid, IID_IDispatch);
}

class ComHostServices : public HostServices {
  public:
    explicit ComHostServices(ComPtr<host::HostServicesApi> services)
        : services_(std::move(services)) {}

    void WriteLog(const std::u16string& message, std::int32_t level,
                  const std::u16string& source) override {
        UniqueBstr messageText = MakeBstr(message), sourceText = MakeBstr(source);
        LONG levelValue = level;
        ForgetErrorInfo();
        CheckOutside(services_->WriteLog(messageText.Address(), &levelValue, sourceText.Address()));
    }

    std::u16string RegistryAppName() override {
        UniqueBstr name;
        ForgetErrorInfo();
        CheckOutside(services_->get_RegistryAppName(name.Receive()));
        return BstrText(name.Get());
    }

  private:
    ComPtr<host::HostServicesApi> services_;
};

class ComMapiUtils : public MapiUtils {
  public:
    explicit ComMapiUtils(ComPtr<IDispatch> object) : object_(std::move(object)) {}
    void Cleanup() override { object_.Call(L"Cleanup"); }

  private:
    LateBound object_;
};

class ComEventLogWriter : public EventLogWriter {
  public:
    explicit ComEventLogWriter(ComPtr<host::EventLogWriterApi> writer)
        : writer_(std::move(writer)) {}

    void WriteEvent(const std::u16string& application, const std::u16string& procedure,
                    const std::u16string& message, std::int32_t level) override {
        UniqueBstr applicationText = MakeBstr(application), procedureText = MakeBstr(procedure),
                   messageText = MakeBstr(message);
        LONG levelValue = level;
        ForgetErrorInfo();
        CheckOutside(writer_->WriteEvent(applicationText.Address(), procedureText.Address(),
                                         messageText.Address(), &levelValue));
    }

  private:
    ComPtr<host::EventLogWriterApi> writer_;
};

class ComSafeMailItem : public SafeMailItem {
  public:
    explicit ComSafeMailItem(ComPtr<IDispatch> object) : object_(std::move(object)) {}

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

  private:
    LateBound object_;
};

class ComBodyFormatProbe : public BodyFormatProbe {
  public:
    explicit ComBodyFormatProbe(ComPtr<host::BodyFormatProbeApi> probe)
        : probe_(std::move(probe)) {}

    std::u16string GetBodyFormat(SafeMailItem& item) override {
        ComPtr<IDispatch> wrapper(dynamic_cast<ComSafeMailItem&>(item).Dispatch());
        UniqueBstr format;
        ForgetErrorInfo();
        CheckOutside(probe_->GetBodyFormat(wrapper.Address(), format.Receive()));
        return BstrText(format.Get());
    }

  private:
    ComPtr<host::BodyFormatProbeApi> probe_;
};

}  // namespace

HostServices& ComOutsideObjects::GetHostServices() {
    // One per thread, created on first use and deliberately never released: the host library
    // owns its lifetime, and releasing it while threads or the DLL shut down could call into a
    // library that is already gone.
    thread_local HostServices* services = nullptr;
    if (!services)
        services = new ComHostServices(CreateByClsid<host::HostServicesApi>(
            host::kHostServicesClsid, __uuidof(host::HostServicesApi)));
    return *services;
}

std::unique_ptr<MapiUtils> ComOutsideObjects::CreateMapiUtils() {
    return std::make_unique<ComMapiUtils>(CreateByProgId(host::kMapiUtilsProgId));
}

std::unique_ptr<EventLogWriter> ComOutsideObjects::CreateEventLogWriter() {
    return std::make_unique<ComEventLogWriter>(CreateByClsid<host::EventLogWriterApi>(
        host::kEventLogWriterClsid, __uuidof(host::EventLogWriterApi)));
}

std::unique_ptr<SafeMailItem> ComOutsideObjects::CreateSafeMailItem() {
    return std::make_unique<ComSafeMailItem>(CreateByProgId(host::kSafeMailItemProgId));
}

std::unique_ptr<BodyFormatProbe> ComOutsideObjects::CreateBodyFormatProbe() {
    return std::make_unique<ComBodyFormatProbe>(CreateByClsid<host::BodyFormatProbeApi>(
        host::kBodyFormatProbeClsid, __uuidof(host::BodyFormatProbeApi)));
}

ComOutsideObjects& TheOutsideObjects() {
    static ComOutsideObjects objects;
    return objects;
}

}  // namespace quillmark::com
