#include "com/engine_adapter.h"

#include "com/bstr.h"
#include "com/com_error.h"
#include "module/error.h"

namespace quillmark::com {

void ComEngine::TraceMessage(const std::u16string& source, const std::u16string& message) {
    // Every argument is passed by reference, in variables of this call.
    ComPtr<IDispatch> moduleObject(moduleObject_);
    Bstr sourceText(source), messageText(message);
    LONG ignored = 0;
    ForgetErrorInfo();
    CheckOutside(engine_->TraceMessage(moduleObject.Address(), sourceText.Address(),
                                       messageText.Address(), &ignored));
}

void ComEngine::SubscribeItemEvent(std::int32_t eventSelector, const std::u16string& folderEntryId,
                                   const std::u16string& folderStoreId) {
    ComPtr<IDispatch> moduleObject(moduleObject_);
    LONG selector = eventSelector;
    Bstr entryId(folderEntryId), storeId(folderStoreId);
    LONG ignored = 0;
    ForgetErrorInfo();
    CheckOutside(engine_->SubscribeItemEvent(moduleObject.Address(), &selector, entryId.Address(),
                                             storeId.Address(), &ignored));
}

std::unique_ptr<Engine> ComEngineCandidate::QueryEngine() {
    if (!candidate_) throw Error::ObjectNotSet();
    ComPtr<host::EngineApi> engine;
    ForgetErrorInfo();
    CheckOutside(candidate_->QueryInterface(host::kEngineApiIid,
                                            reinterpret_cast<void**>(engine.Receive())));
    return std::make_unique<ComEngine>(std::move(engine), moduleObject_);
}

}  // namespace quillmark::com
