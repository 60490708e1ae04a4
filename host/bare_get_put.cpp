#include "bare_get_put.h"

#include "automation_object.h"
#include "class_registrations.h"
#include "raw_invoke.h"

namespace standin {

HRESULT BareGetPut(IDispatch* item, const std::wstring& property) {
    CLSID clsid;
    HRESULT code = CLSIDFromProgID(kSafeMailItemProgId, &clsid);
    ComPtr<IDispatch> safeItem;
    if (SUCCEEDED(code))
        code = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                safeItem.ReceiveVoid());
    UniqueExceptionInfo exception;
    auto put = [&](const std::wstring& name, VARIANT value) {
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS params{&value, &named, 1, 1};
        return InvokeByName(safeItem.Get(), name, DISPATCH_PROPERTYPUT, params, nullptr,
                            exception.Receive());
    };
    VARIANT bound{};
    V_VT(&bound) = VT_DISPATCH;
    V_DISPATCH(&bound) = item;
    if (SUCCEEDED(code)) code = put(L"item", bound);
    UniqueVariant value;
    DISPPARAMS none{};
    if (SUCCEEDED(code))
        code = InvokeByName(safeItem.Get(), property, DISPATCH_PROPERTYGET | DISPATCH_METHOD, none,
                            value.Receive(), exception.Receive());
    if (SUCCEEDED(code)) code = put(property, value.Get());
    return code;
}

}  // namespace standin
