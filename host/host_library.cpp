#include "host_library.h"

#include "mail_helper.h"
#include "owners.h"
#include "text.h"

namespace standin {

HRESULT HostServices::WriteLog(BSTR* message, long* level, BSTR* source) {
    HRESULT failure;
    if (Injected("hostservices.WriteLog", &failure)) return failure;
    if (!message || !level || !source) return E_POINTER;
    TheRecord().AddLog({BstrText(*message), *level, BstrText(*source)});
    return S_OK;
}

HRESULT HostServices::get_RegistryAppName(BSTR* value) {
    ++TheRecord().registryAppNameCalls;
    HRESULT failure;
    if (Injected("hostservices.RegistryAppName", &failure)) return failure;
    return ReturnText(kRegistryAppName, value);
}

HRESULT EventLogWriter::WriteEvent(BSTR* application, BSTR* procedure, BSTR* message, long* level) {
    HRESULT failure;
    if (Injected("eventlog.WriteEvent", &failure)) return failure;
    if (!application || !procedure || !message || !level) return E_POINTER;
    TheRecord().events.push_back(
        {BstrText(*application), BstrText(*procedure), BstrText(*message), *level});
    return S_OK;
}

HRESULT BodyFormatProbe::GetBodyFormat(IDispatch** item, BSTR* format) {
    HRESULT failure;
    if (Injected("probe.GetBodyFormat", &failure)) return failure;
    if (!item || !format) return E_POINTER;
    // Only the safe mail item wrapper can tell the format of the item it is bound to.
    ComPtr<IQXSafeMailItem> wrapper;
    if (!*item || FAILED((*item)->QueryInterface(IID_IQXSafeMailItem, wrapper.ReceiveVoid())))
        return RaiseError(E_INVALIDARG, L"GetBodyFormat needs a QXSafeMailItem");
    OutlookObject* bound = static_cast<SafeMailItem*>(wrapper.Get())->BoundItem();
    if (!bound) return RaiseError(E_UNEXPECTED, L"The safe mail item is not bound to an item");
    return ReturnText(bound->Content().format, format);
}

}  // namespace standin
