#include "record.h"

#include "automation_object.h"

namespace standin {

namespace {

// A thread_local object with a destructor is not safe here: MinGW may free its storage before
// the destructor runs at thread exit. The thread only points at a record that lives elsewhere.
thread_local HostRecord* currentRecord = nullptr;
thread_local IUnknown* currentModule = nullptr;

}  // namespace

HostRecord& TheRecord() {
    static HostRecord process;
    return currentRecord ? *currentRecord : process;
}

bool IsTheModule(IDispatch* object) {
    if (!object || !currentModule) return false;
    ComPtr<IUnknown> identity;
    if (FAILED(object->QueryInterface(IID_IUnknown, identity.ReceiveVoid()))) return false;
    return identity.Get() == currentModule;
}

RecordScope::RecordScope(HostRecord& record) {
    currentRecord = &record;
}

RecordScope::~RecordScope() {
    currentRecord = nullptr;
    currentModule = nullptr;
}

void RecordScope::SetModule(IUnknown* module) {
    currentModule = module;
}

}  // namespace standin
