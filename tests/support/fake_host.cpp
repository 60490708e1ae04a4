#include "fake_host.h"

#include "base/error.h"

namespace quillmark::testing {

namespace {

std::u16string Widen(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

class FakeEngine : public Engine {
  public:
    FakeEngine(HostRecord& record, std::string name) : record_(record), name_(std::move(name)) {}

    void TraceMessage(const std::u16string& source, const std::u16string& message) override {
        record_.Check("engine.TraceMessage");
        record_.trace.push_back({name_, source, message});
    }
    void SubscribeItemEvent(std::int32_t selector, const std::u16string& entry,
                            const std::u16string& store) override {
        record_.Check("engine.SubscribeItemEvent");
        record_.subscriptions.push_back({name_, selector, entry, store});
    }

  private:
    HostRecord& record_;
    std::string name_;
};

class FakeHostServices : public HostServices {
  public:
    explicit FakeHostServices(HostRecord& record) : record_(record) {}

    void WriteLog(const std::u16string& message, std::int32_t level,
                  const std::u16string& source) override {
        record_.Check("hostservices.WriteLog");
        record_.log.push_back({message, level, source});
    }
    std::u16string RegistryAppName() override {
        record_.Check("hostservices.RegistryAppName");
        ++record_.registryAppNameCalls;
        return record_.registryAppName;
    }

  private:
    HostRecord& record_;
};

class FakeMapiUtils : public MapiUtils {
  public:
    explicit FakeMapiUtils(HostRecord& record) : record_(record) {}
    void Cleanup() override {
        record_.Check("mapiutils.Cleanup");
        ++record_.cleanups;
    }

  private:
    HostRecord& record_;
};

class FakeEventLogWriter : public EventLogWriter {
  public:
    explicit FakeEventLogWriter(HostRecord& record) : record_(record) {}
    void WriteEvent(const std::u16string& application, const std::u16string& procedure,
                    const std::u16string& message, std::int32_t level) override {
        record_.Check("eventlog.WriteEvent");
        record_.events.push_back({application, procedure, message, level});
    }

  private:
    HostRecord& record_;
};

class FakeSafeMailItem : public SafeMailItem {
  public:
    explicit FakeSafeMailItem(HostRecord& record) : record_(record) {}

    void BindItem(OutlookItem& item) override {
        record_.Check("safeitem.item");
        item_ = &dynamic_cast<FakeOutlookItem&>(item);
    }
    void Save() override {
        record_.Check("safeitem.Save");
        ++Bound().saves;
    }
    SharedText Subject() override { return Get("safeitem.Subject.get", Bound().subject); }
    void SetSubject(SplicedText v) override { Put("safeitem.Subject.put", Bound().subject, v); }
    SharedText Body() override { return Get("safeitem.Body.get", Bound().body); }
    void SetBody(SplicedText v) override { Put("safeitem.Body.put", Bound().body, v); }
    SharedText HTMLBody() override { return Get("safeitem.HTMLBody.get", Bound().htmlBody); }
    void SetHTMLBody(SplicedText v) override { Put("safeitem.HTMLBody.put", Bound().htmlBody, v); }
    SharedText RTFBody() override { return Get("safeitem.RTFBody.get", Bound().rtfBody); }
    void SetRTFBody(SplicedText v) override { Put("safeitem.RTFBody.put", Bound().rtfBody, v); }

    FakeOutlookItem& Bound() {
        if (!item_) throw Error(u"The safe mail item is not bound to an item");
        return *item_;
    }

  private:
    std::u16string Get(const std::string& operation, const std::u16string& field) {
        record_.Check(operation);
        return field;
    }
    void Put(const std::string& operation, std::u16string& field, SplicedText value) {
        record_.Check(operation);
        std::u16string joined = value.Join();
        value.ReleaseSource();
        field = std::move(joined);
    }

    HostRecord& record_;
    FakeOutlookItem* item_ = nullptr;
};

class FakeBodyFormatProbe : public BodyFormatProbe {
  public:
    explicit FakeBodyFormatProbe(HostRecord& record) : record_(record) {}
    std::u16string GetBodyFormat(SafeMailItem& item) override {
        record_.Check("probe.GetBodyFormat");
        return dynamic_cast<FakeSafeMailItem&>(item).Bound().format;
    }

  private:
    HostRecord& record_;
};

}  // namespace

void HostRecord::Check(const std::string& operation) {
    const int call = ++calls[operation];
    if (failing.count(operation) || failing.count(operation + "#" + std::to_string(call)))
        throw Error(u"Injected failure: " + Widen(operation));
}

std::vector<std::u16string> HostRecord::TraceMessages() const {
    std::vector<std::u16string> messages;
    for (const auto& line : trace) messages.push_back(line.message);
    return messages;
}

bool FakeOutlookItem::SubmittedEqualsTrue() {
    record_.Check("item.Submitted");
    ++submittedReads;
    if (!submitted) throw Error(u"Object doesn't support this property or method", 0x800A01B6);
    return *submitted == -1;
}

std::unique_ptr<Engine> FakeEngineCandidate::QueryEngine() {
    if (failQuery)
        throw Error(u"No such interface supported", static_cast<std::int32_t>(0x80004002));
    return std::make_unique<FakeEngine>(record_, name_);
}

FakeOutside::FakeOutside(HostRecord& record) : record_(record) {}
FakeOutside::~FakeOutside() = default;

HostServices& FakeOutside::GetHostServices() {
    if (!hostServices_) {
        record_.Check("hostservices.create");
        hostServices_ = std::make_unique<FakeHostServices>(record_);
        ++record_.hostServicesCreated;
    }
    return *hostServices_;
}

std::unique_ptr<MapiUtils> FakeOutside::CreateMapiUtils() {
    record_.Check("mapiutils.create");
    return std::make_unique<FakeMapiUtils>(record_);
}

std::unique_ptr<EventLogWriter> FakeOutside::CreateEventLogWriter() {
    record_.Check("eventlog.create");
    return std::make_unique<FakeEventLogWriter>(record_);
}

std::unique_ptr<SafeMailItem> FakeOutside::CreateSafeMailItem() {
    record_.Check("safeitem.create");
    ++record_.safeItemsCreated;
    return std::make_unique<FakeSafeMailItem>(record_);
}

std::unique_ptr<BodyFormatProbe> FakeOutside::CreateBodyFormatProbe() {
    record_.Check("probe.create");
    ++record_.probesCreated;
    return std::make_unique<FakeBodyFormatProbe>(record_);
}

}  // namespace quillmark::testing
