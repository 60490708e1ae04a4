#pragma once

// The host library's classes that the module creates by class identifier: the global service
// object, the event log writer used at shut-down and the body format probe used while stamping.

#include "dispatch_object.h"
#include "engine.h"

namespace standin {

// The application name the host keeps the module's settings under.
constexpr wchar_t kRegistryAppName[] = L"TolvaneEngine";

class HostServices : public DispatchObject<IHostServices> {
  public:
    HostServices() : DispatchObject("HostServices") {}
    HRESULT STDMETHODCALLTYPE WriteLog(BSTR* message, long* level, BSTR* source) override;
    HRESULT STDMETHODCALLTYPE get_RegistryAppName(BSTR* value) override;
};

class EventLogWriter : public DispatchObject<IEventLogWriter> {
  public:
    EventLogWriter() : DispatchObject("EventLogWriter") {}
    HRESULT STDMETHODCALLTYPE WriteEvent(BSTR* application, BSTR* procedure, BSTR* message,
                                         long* level) override;
};

class BodyFormatProbe : public DispatchObject<IBodyFormatProbe> {
  public:
    BodyFormatProbe() : DispatchObject("BodyFormatProbe") {}
    HRESULT STDMETHODCALLTYPE GetBodyFormat(IDispatch** item, BSTR* format) override;
};

}  // namespace standin
