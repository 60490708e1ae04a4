#pragma once

// Fakes of the outside objects, shared by the unit tests, the fuzz targets and the stand-in host
// (whose COM objects keep their state in them). They record every call the module makes in one
// HostRecord, and any operation named in fault_points.h can be made to fail or, for a property
// read of the safe mail item, to answer a value other than text.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fault_points.h"
#include "outside/outside_ports.h"

namespace quillmark::testing {

// A failure code of the interface facility, so that it cannot be mistaken for a system error.
constexpr std::int32_t kInjectedFailure = static_cast<std::int32_t>(0x80040200);

// One injected fault: the operation it hits (by default every call, or only the Nth, counted from
// 1 over the run). It throws "Injected failure: <point>" with kInjectedFailure, or a given `code`
// with no description, as a system failure comes; with an `answer` (an automation value spelled
// in JSON: null, "empty", "nothing", {"error": "0x…"}) the call succeeds instead and
// the stand-in host gives that value.
struct Fault {
    Fault(std::string point, long call = 0) : point(std::move(point)), call(call) {}
    Fault(const char* point, long call = 0) : point(point), call(call) {}
    std::string point;
    long call = 0;
    std::optional<std::int32_t> code;
    std::optional<std::string> answer;
};

struct LogLine {
    std::u16string message;
    std::int32_t level;
    std::u16string source;
    friend bool operator==(const LogLine&, const LogLine&) = default;
};

// fromModule: whether the engine was handed the module object itself as the first argument.
struct TraceLine {
    std::string engine;
    std::u16string source;
    std::u16string message;
    bool fromModule = true;
    friend bool operator==(const TraceLine&, const TraceLine&) = default;
};

struct Subscription {
    std::string engine;
    std::int32_t selector;
    std::u16string entry;
    std::u16string store;
    bool fromModule = true;
};

struct EventLine {
    std::u16string application, procedure, message;
    std::int32_t level;
};

struct ObjectCount {
    int created = 0;
    int alive = 0;
};

// Everything the outside world saw, plus the faults that make its operations fail.
struct HostRecord {
    std::vector<Fault> failing;
    std::u16string registryAppName = u"QuillmarkTest";
    std::vector<LogLine> log;
    std::vector<TraceLine> trace;
    std::vector<Subscription> subscriptions;
    std::vector<EventLine> events;
    int cleanups = 0;
    int registryAppNameCalls = 0;
    std::map<std::string, ObjectCount> objects;  // per class of outside object
    std::map<std::string, long> calls;           // per fault point
    // While a step repeats many times, trace and log lines are counted instead of kept, so that a
    // long run does not grow: per engine (" (not the module)" when another object was passed)
    // and per log message.
    bool summarise = false;
    std::map<std::string, long> traceCounts;
    std::map<std::u16string, long> logCounts;

    // Counts one call of `operation` and throws the fault that applies to it; returns a fault
    // that answers a value instead, or null.
    const Fault* Check(const std::string& operation);
    void AddTrace(TraceLine line);
    void AddLog(LogLine line);
    std::vector<std::u16string> TraceMessages() const;
};

// What every fake outside object has: the record it writes to, where it is counted (created, and
// still alive) under the name of the class it stands in for.
class FakeObject {
  public:
    FakeObject(const FakeObject&) = delete;
    FakeObject& operator=(const FakeObject&) = delete;

  protected:
    FakeObject(HostRecord& record, std::string className);
    ~FakeObject();

    HostRecord& record_;

  private:
    std::string className_;
};

// An Outlook item with its content; the fake wrapper reads and writes it once bound.
class FakeOutlookItem : public OutlookItem, FakeObject {
  public:
    explicit FakeOutlookItem(HostRecord& record, std::u16string type = u"MailItem")
        : FakeObject(record, "OutlookObject"), typeName(std::move(type)) {}

    std::u16string TypeName() override { return typeName; }
    bool SubmittedEqualsTrue() override;

    std::u16string typeName;
    // Absent: the item has no Submitted property and reading it fails.
    std::optional<std::int16_t> submitted = 0;
    std::u16string format = u"HTML";
    std::u16string subject, body, htmlBody, rtfBody;
    int saves = 0;
    int submittedReads = 0;
};

// fromModule tells whether the engine was handed the module object itself (only the stand-in
// host can tell otherwise).
class FakeEngine : public Engine, FakeObject {
  public:
    FakeEngine(HostRecord& record, std::string name)
        : FakeObject(record, "Engine"), name_(std::move(name)) {}

    void TraceMessage(const std::u16string& source, const std::u16string& message) override {
        Trace(source, message, true);
    }
    void SubscribeItemEvent(std::int32_t selector, const std::u16string& entry,
                            const std::u16string& store) override {
        Subscribe(selector, entry, store, true);
    }
    void Trace(const std::u16string& source, const std::u16string& message, bool fromModule);
    void Subscribe(std::int32_t selector, const std::u16string& entry, const std::u16string& store,
                   bool fromModule);

  private:
    std::string name_;
};

class FakeEngineCandidate : public EngineCandidate {
  public:
    FakeEngineCandidate(HostRecord& record, std::string name)
        : record_(record), name_(std::move(name)) {}
    std::unique_ptr<Engine> QueryEngine() override;
    bool failQuery = false;

  private:
    HostRecord& record_;
    std::string name_;
};

class FakeHostServices : public HostServices, FakeObject {
  public:
    explicit FakeHostServices(HostRecord& record) : FakeObject(record, "HostServices") {}
    void WriteLog(const std::u16string& message, std::int32_t level,
                  const std::u16string& source) override;
    std::u16string RegistryAppName() override;
};

class FakeMapiUtils : public MapiUtils, FakeObject {
  public:
    explicit FakeMapiUtils(HostRecord& record) : FakeObject(record, "QXMAPIUtils") {}
    void Cleanup() override;
};

class FakeEventLogWriter : public EventLogWriter, FakeObject {
  public:
    explicit FakeEventLogWriter(HostRecord& record) : FakeObject(record, "EventLogWriter") {}
    void WriteEvent(const std::u16string& application, const std::u16string& procedure,
                    const std::u16string& message, std::int32_t level) override;
};

class FakeSafeMailItem : public SafeMailItem, FakeObject {
  public:
    explicit FakeSafeMailItem(HostRecord& record) : FakeObject(record, "QXSafeMailItem") {}

    void BindItem(OutlookItem& item) override;
    void Save() override;
    SharedText Subject() override { return Get("safeitem.Subject.get", Bound().subject); }
    void SetSubject(SplicedText v) override { Put("safeitem.Subject.put", Bound().subject, v); }
    SharedText Body() override { return Get("safeitem.Body.get", Bound().body); }
    void SetBody(SplicedText v) override { Put("safeitem.Body.put", Bound().body, v); }
    SharedText HTMLBody() override { return Get("safeitem.HTMLBody.get", Bound().htmlBody); }
    void SetHTMLBody(SplicedText v) override { Put("safeitem.HTMLBody.put", Bound().htmlBody, v); }
    SharedText RTFBody() override { return Get("safeitem.RTFBody.get", Bound().rtfBody); }
    void SetRTFBody(SplicedText v) override { Put("safeitem.RTFBody.put", Bound().rtfBody, v); }

    // Throws when no item is bound.
    FakeOutlookItem& Bound();
    // What the last property read answers instead of its text, when a fault says so.
    std::optional<std::string> answer;

  private:
    std::u16string Get(const std::string& operation, const std::u16string& field);
    void Put(const std::string& operation, std::u16string& field, SplicedText value);

    FakeOutlookItem* item_ = nullptr;
};

class FakeBodyFormatProbe : public BodyFormatProbe, FakeObject {
  public:
    explicit FakeBodyFormatProbe(HostRecord& record) : FakeObject(record, "BodyFormatProbe") {}
    std::u16string GetBodyFormat(SafeMailItem& item) override;
};

// Each object is created after its creation point ("safeitem.create", ...) is checked.
class FakeOutside : public OutsideObjects {
  public:
    explicit FakeOutside(HostRecord& record) : record_(record) {}

    HostServices& GetHostServices() override;
    std::unique_ptr<MapiUtils> CreateMapiUtils() override {
        return Create<FakeMapiUtils>("mapiutils.create");
    }
    std::unique_ptr<EventLogWriter> CreateEventLogWriter() override {
        return Create<FakeEventLogWriter>("eventlog.create");
    }
    std::unique_ptr<SafeMailItem> CreateSafeMailItem() override {
        return Create<FakeSafeMailItem>("safeitem.create");
    }
    std::unique_ptr<BodyFormatProbe> CreateBodyFormatProbe() override {
        return Create<FakeBodyFormatProbe>("probe.create");
    }

  private:
    template <class Fake>
    std::unique_ptr<Fake> Create(const std::string& point) {
        record_.Check(point);
        return std::make_unique<Fake>(record_);
    }

    HostRecord& record_;
    std::unique_ptr<HostServices> hostServices_;
};

}  // namespace quillmark::testing
