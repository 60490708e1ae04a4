#include "com/engine_adapter.h"

#include "com/com_error.h"
#include "platform/windows/owners.h"

namespace quillmark::com {

using windows::MakeBstr;
using windows::UniqueBstr;

void ComEngine::TraceMessage(const std::u16string& source, const std::u16string& message) {
    // Every argument is passed by reference, in variables of this call.
    ComPtr<IDispatch> moduleObject(moduleObject_);
    UniqueBstr sourceText = MakeBstr(source), messageText = MakeBstr(message);
    LONG ignored = 0;
    CallOutside([&] {
        return engine_->TraceMessage(moduleObject.Address(), sourceText.Address(),
                                     messageText.Address(), &ignored);
    });
}

void ComEngine::SubscribeItemEvent(std::int32_t eventSelector, const std::u16string& folderEntryId,
                                   const std::u16string& folderStoreId) {
    ComPtr<IDispatch> moduleObject(moduleObject_);
    LONG selector = eventSelector;
    UniqueBstr entryId = MakeBstr(folderEntryId), storeId = MakeBstr(folderStoreId);
    LONG ignored = 0;
    CallOutside([&] {
        return engine_->SubscribeItemEvent(moduleObject.Address(), &selector, entryId.Address(),
                                           storeId.Address(), &ignored);
    });
}

std::unique_ptr<Engine> ComEngineCandidate::QueryEngine() {
    if (!candidate_) return nullptr;
    ComPtr<host::EngineApi> engine;
    CallOutside([&] {
        return candidate_->QueryInterface(host::kEngineApiIid,
                                          reinterpret_cast<void**>(engine.Receive()));
    });
    return std::make_unique<ComEngine>(std::move(engine), moduleObject_);
}

}  // namespace quillmark::com
