#include "engine_object.h"

#include "text.h"

namespace standin {

HRESULT EngineObject::TraceMessage(IDispatch** moduleObject, BSTR* source, BSTR* message,
                                   long* result) {
    HRESULT failure;
    if (Injected("engine.TraceMessage", &failure)) return failure;
    if (!moduleObject || !source || !message || !result) return E_POINTER;
    Record& record = TheRecord();
    record.AddTrace({name_, record.IsModule(*moduleObject), BstrText(*source), BstrText(*message)});
    *result = 0;
    return S_OK;
}

HRESULT EngineObject::SubscribeItemEvent(IDispatch** moduleObject, long* eventSelector,
                                         BSTR* folderEntryId, BSTR* folderStoreId, long* result) {
    HRESULT failure;
    if (Injected("engine.SubscribeItemEvent", &failure)) return failure;
    if (!moduleObject || !eventSelector || !folderEntryId || !folderStoreId || !result)
        return E_POINTER;
    Record& record = TheRecord();
    record.subscriptions.push_back({name_, record.IsModule(*moduleObject), *eventSelector,
                                    BstrText(*folderEntryId), BstrText(*folderStoreId)});
    *result = 0;
    return S_OK;
}

}  // namespace standin
