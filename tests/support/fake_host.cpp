#include "fake_host.h"

#include <stdexcept>

#include "base/error.h"
#include "base/text.h"

namespace quillmark::testing {

const Fault* HostRecord::Check(const std::string& operation) {
    if (!IsFaultPoint(operation)) throw std::logic_error("not a fault point: " + operation);
    const long call = ++calls[operation];
    for (const Fault& fault : failing) {
        if (fault.point != operation || (fault.call != 0 && fault.call != call)) continue;
        if (fault.answer) return &fault;
        if (fault.code) throw Error(u"", *fault.code);
        throw Error(u"Injected failure: " + FromUtf8(operation), kInjectedFailure);
    }
    return nullptr;
}

void HostRecord::AddTrace(TraceLine line) {
    if (!summarise) return trace.push_back(std::move(line));
    ++traceCounts[line.engine + (line.fromModule ? "" : " (not the module)")];
}

void HostRecord::AddLog(LogLine line) {
    if (!summarise) return log.push_back(std::move(line));
    ++logCounts[line.message];
}

std::vector<std::u16string> HostRecord::TraceMessages() const {
    std::vector<std::u16string> messages;
    for (const auto& line : trace) messages.push_back(line.message);
    return messages;
}

FakeObject::FakeObject(HostRecord& record, std::string className)
    : record_(record), className_(std::move(className)) {
    ObjectCount& count = record_.objects[className_];
    ++count.created;
    ++count.alive;
}

FakeObject::~FakeObject() {
    --record_.objects[className_].alive;
}

bool FakeOutlookItem::SubmittedEqualsTrue() {
    record_.Check("item.Submitted");
    ++submittedReads;
    if (!submitted) throw Error(u"Object doesn't support this property or method", 0x800A01B6);
    return *submitted == -1;
}

void FakeEngine::Trace(const std::u16string& source, const std::u16string& message,
                       bool fromModule) {
    record_.Check("engine.TraceMessage");
    record_.AddTrace({name_, source, message, fromModule});
}

void FakeEngine::Subscribe(std::int32_t selector, const std::u16string& entry,
                           const std::u16string& store, bool fromModule) {
    record_.Check("engine.SubscribeItemEvent");
    record_.subscriptions.push_back({name_, selector, entry, store, fromModule});
}

std::unique_ptr<Engine> FakeEngineCandidate::QueryEngine() {
    if (failQuery)
        throw Error(u"No such interface supported", static_cast<std::int32_t>(0x80004002));
    return std::make_unique<FakeEngine>(record_, name_);
}

void FakeHostServices::WriteLog(const std::u16string& message, std::int32_t level,
                                const std::u16string& source) {
    record_.Check("hostservices.WriteLog");
    record_.AddLog({message, level, source});
}

std::u16string FakeHostServices::RegistryAppName() {
    ++record_.registryAppNameCalls;
    record_.Check("hostservices.RegistryAppName");
    return record_.registryAppName;
}

void FakeMapiUtils::Cleanup() {
    record_.Check("mapiutils.Cleanup");
    ++record_.cleanups;
}

void FakeEventLogWriter::WriteEvent(const std::u16string& application,
                                    const std::u16string& procedure, const std::u16string& message,
                                    std::int32_t level) {
    record_.Check("eventlog.WriteEvent");
    record_.events.push_back({application, procedure, message, level});
}

void FakeSafeMailItem::BindItem(OutlookItem& item) {
    record_.Check("safeitem.item");
    item_ = &dynamic_cast<FakeOutlookItem&>(item);
}

void FakeSafeMailItem::Save() {
    record_.Check("safeitem.Save");
    ++Bound().saves;
}

FakeOutlookItem& FakeSafeMailItem::Bound() {
    if (!item_)
        throw Error(u"The safe mail item is not bound to an item",
                    static_cast<std::int32_t>(0x8000FFFF));
    return *item_;
}

std::u16string FakeSafeMailItem::Get(const std::string& operation, const std::u16string& field) {
    const Fault* answering = record_.Check(operation);
    answer = answering ? answering->answer : std::nullopt;
    return field;
}

void FakeSafeMailItem::Put(const std::string& operation, std::u16string& field, SplicedText value) {
    record_.Check(operation);
    std::u16string joined = value.Join();
    value.ReleaseSource();
    field = std::move(joined);
}

std::u16string FakeBodyFormatProbe::GetBodyFormat(SafeMailItem& item) {
    record_.Check("probe.GetBodyFormat");
    return dynamic_cast<FakeSafeMailItem&>(item).Bound().format;
}

HostServices& FakeOutside::GetHostServices() {
    if (!hostServices_) {
        record_.Check("hostservices.create");
        hostServices_ = std::make_unique<FakeHostServices>(record_);
    }
    return *hostServices_;
}

}  // namespace quillmark::testing
