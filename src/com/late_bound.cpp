#include "com/late_bound.h"

#include "base/error.h"
#include "com/com_error.h"
#include "platform/windows/win_error.h"

namespace quillmark::com {

namespace {

using windows::BstrText;
using windows::UniqueVariant;

constexpr std::int32_t kMemberNotSupported = static_cast<std::int32_t>(0x800A01B6);
constexpr std::int32_t kInvalidUseOfNull = static_cast<std::int32_t>(0x800A005E);

// The exception a member raised through Invoke, as quillmark::Error.
[[noreturn]] void ThrowRaised(EXCEPINFO& info) {
    if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
    HRESULT code = info.scode;
    if (SUCCEEDED(code))
        code = info.wCode ? MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, info.wCode)
                          : DISP_E_EXCEPTION;
    const std::u16string description = BstrText(info.bstrDescription);
    if (description.empty()) windows::ThrowHresult(code);
    throw Error(description, code);
}

}  // namespace

void LateBound::Invoke(const wchar_t* name, WORD flags, DISPPARAMS& params, VARIANT* result) {
    if (!object_) throw Error::ObjectNotSet();
    DISPID id = DISPID_UNKNOWN;
    CallOutside([&] {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        const HRESULT code = object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
        // A member the object does not have is the automation runtime's error 438.
        if (code == DISP_E_UNKNOWNNAME)
            throw Error(u"Object doesn't support this property or method", kMemberNotSupported);
        return code;
    });
    CallOutside([&] {
        windows::UniqueExceptionInfo exception;
        UINT argumentError = 0;
        const HRESULT code = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                             result, exception.Receive(), &argumentError);
        if (code == DISP_E_EXCEPTION) ThrowRaised(exception.Get());
        return code;
    });
}

void LateBound::Get(const wchar_t* name, UniqueVariant& result) {
    DISPPARAMS params{};
    Invoke(name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, params, result.Receive());
}

void LateBound::Put(const wchar_t* name, const VARIANT& value) {
    VARIANT argument = value;  // Invoke does not change its arguments; no copy is owned here.
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&argument, &named, 1, 1};
    Invoke(name, DISPATCH_PROPERTYPUT, params, nullptr);
}

void LateBound::Call(const wchar_t* name) {
    DISPPARAMS params{};
    UniqueVariant ignored;
    Invoke(name, DISPATCH_METHOD, params, ignored.Receive());
}

SharedText LateBound::GetText(const wchar_t* name) {
    UniqueVariant value;
    Get(name, value);
    VARIANT& text = value.Get();
    // As the automation runtime assigns a value to a text variable: Null and an empty object
    // reference are errors of their own, Empty is the empty text.
    if (V_VT(&text) == VT_NULL) throw Error(u"Invalid use of Null", kInvalidUseOfNull);
    if ((V_VT(&text) == VT_DISPATCH && !V_DISPATCH(&text)) ||
        (V_VT(&text) == VT_UNKNOWN && !V_UNKNOWN(&text)))
        throw Error::ObjectNotSet();
    if (V_VT(&text) == VT_EMPTY) return {};
    if (V_VT(&text) != VT_BSTR)
        CallOutside([&] { return VariantChangeType(&text, &text, 0, VT_BSTR); });
    // The BSTR leaves the VARIANT for an owner that the text shares.
    auto owner = std::make_shared<windows::UniqueBstr>(V_BSTR(&text));
    V_VT(&text) = VT_EMPTY;
    const BSTR characters = owner->Get();
    const std::u16string_view view =
        characters ? std::u16string_view(reinterpret_cast<const char16_t*>(characters),
                                         SysStringLen(characters))
                   : std::u16string_view();
    return SharedText(view, std::move(owner));
}

void LateBound::PutText(const wchar_t* name, SplicedText value) {
    const windows::UniqueBstr text = windows::MakeBstr(value);
    value.ReleaseSource();
    VARIANT argument{};
    V_VT(&argument) = VT_BSTR;
    V_BSTR(&argument) = text.Get();
    Put(name, argument);
}

}  // namespace quillmark::com
