#include "bare_get_put.h"

#include "automation_object.h"
#include "class_registrations.h"
#include "raw_invoke.h"

namespace standin {

namespace {

HRESULT GetOrPut(IDispatch* object, const std::wstring& name, WORD flags, DISPPARAMS& params,
                 VARIANT* result) {
    UniqueExceptionInfo exception;
    return InvokeByName(object, name, flags, params, result, exception.Receive());
}

HRESULT PutByName(IDispatch* object, const std::wstring& name, VARIANT value) {
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &named, 1, 1};
    return GetOrPut(object, name, DISPATCH_PROPERTYPUT, params, nullptr);
}

}  // namespace

HRESULT BareGetPut(IDispatch* item, const std::wstring& property) {
    CLSID clsid;
    HRESULT code = CLSIDFromProgID(kSafeMailItemProgId, &clsid);
    ComPtr<IDispatch> safeItem;
    if (SUCCEEDED(code))
        code = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                safeItem.ReceiveVoid());
    VARIANT bound{};
    V_VT(&bound) = VT_DISPATCH;
    V_DISPATCH(&bound) = item;
    if (SUCCEEDED(code)) code = PutByName(safeItem.Get(), L"item", bound);
    UniqueVariant value;
    DISPPARAMS none{};
    if (SUCCEEDED(code))
        code = GetOrPut(safeItem.Get(), property, DISPATCH_PROPERTYGET | DISPATCH_METHOD, none,
                        value.Receive());
    if (SUCCEEDED(code)) code = PutByName(safeItem.Get(), property, value.Get());
    return code;
}

}  // namespace standin
