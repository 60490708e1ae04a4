#pragma once

// What the stand-in host observes during one run: every call the module makes on the host's
// objects, and the operations that are set to fail. There is one record per process, because the
// module reaches the host's classes through COM class factories, which carry no context.

#include <ole2.h>
#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace standin {

struct TraceLine {
    std::string engine;
    bool fromModule;
    std::wstring source;
    std::wstring message;
};

struct LogLine {
    std::wstring message;
    long level;
    std::wstring source;
};

struct EventLine {
    std::wstring application;
    std::wstring procedure;
    std::wstring message;
    long level;
};

struct Subscription {
    std::string engine;
    bool fromModule;
    long selector;
    std::wstring entry;
    std::wstring store;
};

struct ObjectCount {
    int created = 0;
    int alive = 0;
};

// The outside operations a scenario can make fail, by the names scenarios use.
extern const std::set<std::string> kFaultPoints;

// A failure HRESULT of the interface facility, so that it cannot be mistaken for a system error.
constexpr HRESULT kInjectedFailure = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x200);

struct Record {
    std::vector<TraceLine> trace;
    std::vector<LogLine> log;
    std::vector<EventLine> events;
    std::vector<Subscription> subscriptions;
    int cleanups = 0;
    int registryAppNameCalls = 0;
    std::map<std::string, ObjectCount> objects;
    std::set<std::string> failing;
    // The module object's identity, for telling whether a callback passed the module itself.
    IUnknown* module = nullptr;

    bool Fails(const std::string& point) const { return failing.count(point) != 0; }
    bool IsModule(IDispatch* object) const;
};

Record& TheRecord();

// Raises a COM error: sets the thread's error information to description and returns code.
HRESULT RaiseError(HRESULT code, const std::wstring& description);

// When point is set to fail, raises "Injected failure: <point>" and returns true.
bool Injected(const std::string& point, HRESULT* result);

// Counts the instances of one class of the host: created, and still alive.
class InstanceCount {
  public:
    explicit InstanceCount(const char* className);
    InstanceCount(const InstanceCount&) = delete;
    InstanceCount& operator=(const InstanceCount&) = delete;
    ~InstanceCount();

  private:
    std::string className_;
};

}  // namespace standin
