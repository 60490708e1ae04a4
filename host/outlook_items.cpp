#include "outlook_items.h"

#include "type_libraries.h"

namespace standin {

namespace {

constexpr DISPID kSubmittedId = 0xF001;  // Outlook's own number for MailItem.Submitted

// Answered only by the host's own Outlook objects, with the object itself.
constexpr IID kOutlookObjectIid = {
    0x5b0c6f2e, 0x8d41, 0x4a7e, {0x9c, 0x13, 0x2f, 0x6a, 0xd0, 0x47, 0xb8, 0x91}};

}  // namespace

OutlookObject::OutlookObject(const std::optional<std::u16string>& typeName,
                             const VARIANT* submitted)
    : hasSubmitted_(submitted != nullptr) {
    if (typeName) typeInfo_ = OutlookTypeInfo(*typeName);
    if (submitted) VariantCopy(submitted_.Receive(), const_cast<VARIANT*>(submitted));
}

OutlookObject* OutlookObject::Find(IDispatch* object) {
    ComPtr<IDispatch> found;
    if (!object || FAILED(object->QueryInterface(kOutlookObjectIid, found.ReceiveVoid())))
        return nullptr;
    return static_cast<OutlookObject*>(found.Get());  // the caller's reference keeps it alive
}

HRESULT OutlookObject::QueryInterface(REFIID iid, void** out) {
    if (!out || iid != kOutlookObjectIid) return CountedObject::QueryInterface(iid, out);
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

HRESULT OutlookObject::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = typeInfo_ ? 1 : 0;
    return S_OK;
}

HRESULT OutlookObject::GetTypeInfo(UINT index, LCID, ITypeInfo** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!typeInfo_) return E_NOTIMPL;
    if (index != 0) return DISP_E_BADINDEX;
    return typeInfo_.CopyTo(out);
}

HRESULT OutlookObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!names || !ids) return E_POINTER;
    HRESULT result = S_OK;
    for (UINT i = 0; i < count; ++i) {
        const bool known = i == 0 && hasSubmitted_ && names[0] &&
                           CompareStringOrdinal(names[0], -1, L"Submitted", -1, TRUE) == CSTR_EQUAL;
        ids[i] = known ? kSubmittedId : DISPID_UNKNOWN;
        if (!known) result = DISP_E_UNKNOWNNAME;
    }
    return result;
}

HRESULT OutlookObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                              VARIANT* result, EXCEPINFO* exception, UINT*) {
    if (id != kSubmittedId || !hasSubmitted_) return DISP_E_MEMBERNOTFOUND;
    if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    if (params && params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
    // The value is the scenario's own automation value; the record counts the read and fails it
    // when a fault says so.
    const HRESULT failure = Answer([&] { TheRecord().Check("item.Submitted"); });
    if (FAILED(failure)) {
        // Late-bound callers learn about the failure from the exception information.
        if (!exception) return failure;
        ComPtr<IErrorInfo> info;
        *exception = EXCEPINFO{};
        exception->scode = failure;
        if (GetErrorInfo(0, info.Receive()) == S_OK && info) {
            info->GetSource(&exception->bstrSource);
            info->GetDescription(&exception->bstrDescription);
            SetErrorInfo(0, info.Get());
        }
        return DISP_E_EXCEPTION;
    }
    if (!result) return S_OK;
    return VariantCopy(result, &submitted_.Get());
}

}  // namespace standin
