#include "record.h"

#include "owners.h"
#include "text.h"

namespace standin {

const std::set<std::string> kFaultPoints = {
    "engine.TraceMessage",
    "engine.SubscribeItemEvent",
    "hostservices.create",
    "hostservices.WriteLog",
    "hostservices.RegistryAppName",
    "mapiutils.create",
    "mapiutils.Cleanup",
    "eventlog.create",
    "eventlog.WriteEvent",
    "safeitem.create",
    "safeitem.item",
    "safeitem.Save",
    "safeitem.Subject.get",
    "safeitem.Subject.put",
    "safeitem.Body.get",
    "safeitem.Body.put",
    "safeitem.HTMLBody.get",
    "safeitem.HTMLBody.put",
    "safeitem.RTFBody.get",
    "safeitem.RTFBody.put",
    "probe.create",
    "probe.GetBodyFormat",
    "item.Submitted",
};

bool Record::IsModule(IDispatch* object) const {
    if (!object || !module) return false;
    ComPtr<IUnknown> identity;
    if (FAILED(object->QueryInterface(IID_IUnknown, identity.ReceiveVoid()))) return false;
    return identity.Get() == module;
}

void Record::AddTrace(TraceLine line) {
    if (!summarise) return trace.push_back(std::move(line));
    ++traceCounts[line.engine + (line.fromModule ? "" : " (not the module)")];
}

void Record::AddLog(LogLine line) {
    if (!summarise) return log.push_back(std::move(line));
    ++logCounts[line.message];
}

namespace {

// A thread_local object with a destructor is not safe here: MinGW may free its storage before
// the destructor runs at thread exit. The thread only points at a record that lives elsewhere.
thread_local Record* current = nullptr;

}  // namespace

Record& TheRecord() {
    static Record process;
    return current ? *current : process;
}

RecordScope::RecordScope(Record& record) : previous_(current) {
    current = &record;
}

RecordScope::~RecordScope() {
    current = previous_;
}

HRESULT RaiseError(HRESULT code, const std::wstring& description) {
    ComPtr<ICreateErrorInfo> created;
    ComPtr<IErrorInfo> info;
    if (SUCCEEDED(CreateErrorInfo(created.Receive())) && SUCCEEDED(created.As(info))) {
        created->SetDescription(const_cast<LPOLESTR>(description.c_str()));
        created->SetSource(const_cast<LPOLESTR>(L"Stand-in host"));
        SetErrorInfo(0, info.Get());
    }
    return code;
}

bool Injected(const std::string& point, HRESULT* result, std::optional<nlohmann::json>* answer) {
    const Fault* fault = TheRecord().failing.Next(point);
    if (!fault) return false;
    if (fault->answer) {
        if (answer) *answer = fault->answer;
        return false;
    }
    if (fault->code != kInjectedFailure) {
        // A chosen code comes bare, as a system failure such as running out of memory would.
        SetErrorInfo(0, nullptr);
        *result = fault->code;
        return true;
    }
    *result = RaiseError(fault->code, L"Injected failure: " + Utf8ToWide(point));
    return true;
}

InstanceCount::InstanceCount(const char* className) : className_(className) {
    ObjectCount& count = TheRecord().objects[className_];
    ++count.created;
    ++count.alive;
}

InstanceCount::~InstanceCount() {
    --TheRecord().objects[className_].alive;
}

}  // namespace standin
