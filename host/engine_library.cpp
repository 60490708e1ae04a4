#include "engine_library.h"

#include "json_text.h"
#include "mail_helper_library.h"

namespace standin {

HRESULT EngineObject::TraceMessage(IDispatch** moduleObject, BSTR* source, BSTR* message,
                                   long* result) {
    if (!moduleObject || !source || !message || !result) return E_POINTER;
    *result = 0;
    return Answer(
        [&] { fake_.Trace(BstrText(*source), BstrText(*message), IsTheModule(*moduleObject)); });
}

HRESULT EngineObject::SubscribeItemEvent(IDispatch** moduleObject, long* eventSelector,
                                         BSTR* folderEntryId, BSTR* folderStoreId, long* result) {
    if (!moduleObject || !eventSelector || !folderEntryId || !folderStoreId || !result)
        return E_POINTER;
    *result = 0;
    return Answer([&] {
        fake_.Subscribe(*eventSelector, BstrText(*folderEntryId), BstrText(*folderStoreId),
                        IsTheModule(*moduleObject));
    });
}

HRESULT HostServices::WriteLog(BSTR* message, long* level, BSTR* source) {
    if (!message || !level || !source) return E_POINTER;
    return Answer([&] { fake_.WriteLog(BstrText(*message), *level, BstrText(*source)); });
}

HRESULT HostServices::get_RegistryAppName(BSTR* value) {
    std::u16string name;
    const HRESULT code = Answer([&] { name = fake_.RegistryAppName(); });
    return FAILED(code) ? code : ReturnText(name, value);
}

HRESULT EventLogWriter::WriteEvent(BSTR* application, BSTR* procedure, BSTR* message, long* level) {
    if (!application || !procedure || !message || !level) return E_POINTER;
    return Answer([&] {
        fake_.WriteEvent(BstrText(*application), BstrText(*procedure), BstrText(*message), *level);
    });
}

HRESULT BodyFormatProbe::GetBodyFormat(IDispatch** item, BSTR* format) {
    if (!item || !format) return E_POINTER;
    // Only the safe mail item wrapper can tell the format of the item it is bound to.
    ComPtr<IQXSafeMailItem> wrapper;
    if (!*item || FAILED((*item)->QueryInterface(IID_IQXSafeMailItem, wrapper.ReceiveVoid())))
        return RaiseError(E_INVALIDARG, u"GetBodyFormat needs a QXSafeMailItem");
    std::u16string answer;
    const HRESULT code = Answer(
        [&] { answer = fake_.GetBodyFormat(static_cast<SafeMailItem*>(wrapper.Get())->Fake()); });
    return FAILED(code) ? code : ReturnText(answer, format);
}

}  // namespace standin
