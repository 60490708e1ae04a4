#pragma once

#include <memory>

#include "com/com_ptr.h"
#include "com/host_library_names.h"
#include "outside/outside_ports.h"

namespace quillmark::com {

// The host engine through IEngineAPI. It passes the module object (its default interface) as the
// first argument of every call. That pointer is not counted: the module object owns this adapter,
// and a counted reference would keep the module alive through its own member.
class ComEngine : public Engine {
  public:
    ComEngine(ComPtr<host::EngineApi> engine, IDispatch* moduleObject)
        : engine_(std::move(engine)), moduleObject_(moduleObject) {}

    void TraceMessage(const std::u16string& source, const std::u16string& message) override;
    void SubscribeItemEvent(std::int32_t eventSelector, const std::u16string& folderEntryId,
                            const std::u16string& folderStoreId) override;

  private:
    ComPtr<host::EngineApi> engine_;
    IDispatch* moduleObject_;
};

// The object handed to ZMStartup, asked for its engine interface only when the module needs it.
class ComEngineCandidate : public EngineCandidate {
  public:
    ComEngineCandidate(IDispatch* candidate, IDispatch* moduleObject)
        : candidate_(candidate), moduleObject_(moduleObject) {}

    std::unique_ptr<Engine> QueryEngine() override;

  private:
    IDispatch* candidate_;
    IDispatch* moduleObject_;
};

}  // namespace quillmark::com
