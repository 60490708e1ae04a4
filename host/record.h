#pragma once

// Which record of the outside fakes the host's objects write to. The module reaches the host's
// classes through COM class factories, which carry no context, so each thread names its run's
// record (and the module object of that run) while the run lasts; each apartment the host runs
// keeps its own this way. A thread has one scope at a time.

#include <ole2.h>
#include <windows.h>

#include "fake_host.h"

namespace standin {

using quillmark::testing::HostRecord;

// The record a RecordScope of the calling thread names, else the process's.
HostRecord& TheRecord();

// Whether object is the module object of the calling thread's run.
bool IsTheModule(IDispatch* object);

class RecordScope {
  public:
    explicit RecordScope(HostRecord& record);
    RecordScope(const RecordScope&) = delete;
    RecordScope& operator=(const RecordScope&) = delete;
    ~RecordScope();

    // Names the run's module object (its IUnknown identity), or none.
    void SetModule(IUnknown* module);
};

}  // namespace standin
