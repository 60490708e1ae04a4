#pragma once

// The host engine library's objects: the engine the module receives at start-up, and the classes
// the module creates by class identifier (the global service object, the event log writer used
// at shut-down and the body format probe used while stamping). Each keeps its state in its fake
// and records in the run's record.

#include <string>

#include "automation_object.h"
#include "engine.h"
#include "record.h"

namespace standin {

// The application name the host keeps the module's settings under.
constexpr char16_t kRegistryAppName[] = u"TolvaneEngine";

// Each engine has a name ("A", "B", …), so that the record shows which engine received a trace
// line or a subscription.
class EngineObject : public DispatchObject<IEngineAPI> {
  public:
    explicit EngineObject(std::string name) : fake_(TheRecord(), std::move(name)) {}
    HRESULT STDMETHODCALLTYPE TraceMessage(IDispatch** moduleObject, BSTR* source, BSTR* message,
                                           long* result) override;
    HRESULT STDMETHODCALLTYPE SubscribeItemEvent(IDispatch** moduleObject, long* eventSelector,
                                                 BSTR* folderEntryId, BSTR* folderStoreId,
                                                 long* result) override;

  private:
    quillmark::testing::FakeEngine fake_;
};

class HostServices : public DispatchObject<IHostServices> {
  public:
    HRESULT STDMETHODCALLTYPE WriteLog(BSTR* message, long* level, BSTR* source) override;
    HRESULT STDMETHODCALLTYPE get_RegistryAppName(BSTR* value) override;

  private:
    quillmark::testing::FakeHostServices fake_{TheRecord()};
};

class EventLogWriter : public DispatchObject<IEventLogWriter> {
  public:
    HRESULT STDMETHODCALLTYPE WriteEvent(BSTR* application, BSTR* procedure, BSTR* message,
                                         long* level) override;

  private:
    quillmark::testing::FakeEventLogWriter fake_{TheRecord()};
};

class BodyFormatProbe : public DispatchObject<IBodyFormatProbe> {
  public:
    HRESULT STDMETHODCALLTYPE GetBodyFormat(IDispatch** item, BSTR* format) override;

  private:
    quillmark::testing::FakeBodyFormatProbe fake_{TheRecord()};
};

}  // namespace standin
