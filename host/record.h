#pragma once

// What the stand-in host observes during one run: every call the module makes on the host's
// objects, and the operations that are set to fail. There is one record per process, because the
// module reaches the host's classes through COM class factories, which carry no context.

#include <ole2.h>
#include <windows.h>

#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "faults.h"

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

struct Record {
    std::vector<TraceLine> trace;
    std::vector<LogLine> log;
    std::vector<EventLine> events;
    std::vector<Subscription> subscriptions;
    int cleanups = 0;
    int registryAppNameCalls = 0;
    std::map<std::string, ObjectCount> objects;
    Faults failing;
    // While a step repeats, trace and log lines are counted here instead of kept one by one, so
    // that a long run does not grow the host: per engine (with " (not the module)" when the
    // first argument was another object), and per log message.
    bool summarise = false;
    std::map<std::string, long> traceCounts;
    std::map<std::wstring, long> logCounts;
    // The module object's identity, for telling whether a callback passed the module itself.
    IUnknown* module = nullptr;

    bool IsModule(IDispatch* object) const;

    void AddTrace(TraceLine line);
    void AddLog(LogLine line);
};

// The record of the calling thread: the one a RecordScope of the thread names, else the process's.
Record& TheRecord();

// Makes record the calling thread's record while it lives; each apartment the host runs keeps its
// own this way.
class RecordScope {
  public:
    explicit RecordScope(Record& record);
    RecordScope(const RecordScope&) = delete;
    RecordScope& operator=(const RecordScope&) = delete;
    ~RecordScope();

  private:
    Record* previous_;
};

// Raises a COM error: sets the thread's error information to description and returns code.
HRESULT RaiseError(HRESULT code, const std::wstring& description);

// Counts one call of point; when a fault applies to it, raises "Injected failure: <point>" with
// the fault's code and returns true. A fault that answers a value instead is left to the caller
// through answer (and then false is returned); without answer such a fault is ignored.
bool Injected(const std::string& point, HRESULT* result,
              std::optional<nlohmann::json>* answer = nullptr);

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
