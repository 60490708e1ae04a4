#pragma once

// Fakes of the outside objects. They record every call the module makes, and any operation can
// be made to fail by naming it in `failing` (or only its Nth call, as "name#N"), with the names the
// stand-in host uses
// ("engine.TraceMessage", "safeitem.HTMLBody.put", ...).

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "outside/outside_ports.h"

namespace quillmark::testing {

struct LogLine {
    std::u16string message;
    std::int32_t level;
    std::u16string source;
    friend bool operator==(const LogLine&, const LogLine&) = default;
};

struct TraceLine {
    std::string engine;
    std::u16string source;
    std::u16string message;
    friend bool operator==(const TraceLine&, const TraceLine&) = default;
};

struct Subscription {
    std::string engine;
    std::int32_t selector;
    std::u16string entry;
    std::u16string store;
};

struct EventLine {
    std::u16string application, procedure, message;
    std::int32_t level;
};

// Everything the outside world saw, plus the switches that make its operations fail.
struct HostRecord {
    std::set<std::string> failing;
    std::u16string registryAppName = u"QuillmarkTest";
    std::vector<LogLine> log;
    std::vector<TraceLine> trace;
    std::vector<Subscription> subscriptions;
    std::vector<EventLine> events;
    int cleanups = 0;
    int registryAppNameCalls = 0;
    int hostServicesCreated = 0;
    int safeItemsCreated = 0;
    int probesCreated = 0;

    // Counts one call of `operation` and throws the injected failure when `failing` lists it, or
    // lists "operation#N" and this is its Nth call.
    void Check(const std::string& operation);
    std::map<std::string, int> calls;
    std::vector<std::u16string> TraceMessages() const;
};

// An Outlook item with its content; the fake wrapper reads and writes it once bound.
class FakeOutlookItem : public OutlookItem {
  public:
    explicit FakeOutlookItem(HostRecord& record, std::u16string type = u"MailItem")
        : typeName(std::move(type)), record_(record) {}

    std::u16string TypeName() override { return typeName; }
    bool SubmittedEqualsTrue() override;

    std::u16string typeName;
    // Absent: the item has no Submitted property and reading it fails.
    std::optional<std::int16_t> submitted = 0;
    std::u16string format = u"HTML";
    std::u16string subject, body, htmlBody, rtfBody;
    int saves = 0;
    int submittedReads = 0;

  private:
    HostRecord& record_;
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

class FakeOutside : public OutsideObjects {
  public:
    explicit FakeOutside(HostRecord& record);
    ~FakeOutside() override;

    HostServices& GetHostServices() override;
    std::unique_ptr<MapiUtils> CreateMapiUtils() override;
    std::unique_ptr<EventLogWriter> CreateEventLogWriter() override;
    std::unique_ptr<SafeMailItem> CreateSafeMailItem() override;
    std::unique_ptr<BodyFormatProbe> CreateBodyFormatProbe() override;

  private:
    HostRecord& record_;
    std::unique_ptr<HostServices> hostServices_;
};

}  // namespace quillmark::testing
