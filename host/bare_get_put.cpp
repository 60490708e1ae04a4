#include "bare_get_put.h"

#include "class_registrations.h"
#include "owners.h"

namespace standin {

namespace {

HRESULT InvokeByName(IDispatch* object, const wchar_t* name, WORD flags, DISPPARAMS& params,
                     VARIANT* result) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    HRESULT code = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    UniqueExceptionInfo exception;
    if (SUCCEEDED(code))
        code = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result,
                              exception.Receive(), nullptr);
    return code;
}

HRESULT PutByName(IDispatch* object, const wchar_t* name, VARIANT value) {
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &named, 1, 1};
    return InvokeByName(object, name, DISPATCH_PROPERTYPUT, params, nullptr);
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
        code = InvokeByName(safeItem.Get(), property.c_str(),
                            DISPATCH_PROPERTYGET | DISPATCH_METHOD, none, value.Receive());
    if (SUCCEEDED(code)) code = PutByName(safeItem.Get(), property.c_str(), value.Get());
    return code;
}

}  // namespace standin
