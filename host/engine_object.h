#pragma once

// The host engine object the module receives at start-up. Each engine has a name ("A", "B", …)
// so that the record shows which engine received a trace line or a subscription.

#include <string>

#include "dispatch_object.h"
#include "engine.h"

namespace standin {

class EngineObject : public DispatchObject<IEngineAPI> {
  public:
    explicit EngineObject(std::string name) : DispatchObject("Engine"), name_(std::move(name)) {}

    HRESULT STDMETHODCALLTYPE TraceMessage(IDispatch** moduleObject, BSTR* source, BSTR* message,
                                           long* result) override;
    HRESULT STDMETHODCALLTYPE SubscribeItemEvent(IDispatch** moduleObject, long* eventSelector,
                                                 BSTR* folderEntryId, BSTR* folderStoreId,
                                                 long* result) override;

  private:
    std::string name_;
};

}  // namespace standin
