#include "com/late_bound.h"

#include "com/bstr.h"
#include "com/com_error.h"
#include "module/error.h"
#include "platform/windows/win_error.h"

namespace quillmark::com {

namespace {

constexpr std::int32_t kMemberNotSupported = static_cast<std::int32_t>(0x800A01B6);

// Releases what an EXCEPINFO holds.
class ExceptionInfo {
  public:
    ExceptionInfo() = default;
    ExceptionInfo(const ExceptionInfo&) = delete;
    ExceptionInfo& operator=(const ExceptionInfo&) = delete;
    ~ExceptionInfo() {
        SysFreeString(info_.bstrSource);
        SysFreeString(info_.bstrDescription);
        SysFreeString(info_.bstrHelpFile);
    }
    EXCEPINFO* Get() { return &info_; }

    // The exception the member raised, as quillmark::Error.
    [[noreturn]] void Throw() {
        if (info_.pfnDeferredFillIn) info_.pfnDeferredFillIn(&info_);
        HRESULT code = info_.scode;
        if (SUCCEEDED(code))
            code = info_.wCode ? MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, info_.wCode)
                               : DISP_E_EXCEPTION;
        const std::u16string description = Bstr::ToText(info_.bstrDescription);
        if (description.empty()) windows::ThrowHresult(code);
        throw Error(description, code);
    }

  private:
    EXCEPINFO info_{};
};

}  // namespace

void LateBound::Invoke(const wchar_t* name, WORD flags, DISPPARAMS& params, VARIANT* result) {
    if (!object_) throw Error::ObjectNotSet();
    ForgetErrorInfo();
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    const HRESULT found = object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    // A member the object does not have is the automation runtime's error 438.
    if (found == DISP_E_UNKNOWNNAME)
        throw Error(u"Object doesn't support this property or method", kMemberNotSupported);
    CheckOutside(found);
    ExceptionInfo exception;
    UINT argumentError = 0;
    const HRESULT code = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result,
                                         exception.Get(), &argumentError);
    if (code == DISP_E_EXCEPTION) exception.Throw();
    CheckOutside(code);
}

void LateBound::Get(const wchar_t* name, Variant& result) {
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
    Variant ignored;
    Invoke(name, DISPATCH_METHOD, params, ignored.Get());
}

std::u16string LateBound::GetText(const wchar_t* name) {
    Variant value;
    Get(name, value);
    if (V_VT(value.Get()) != VT_BSTR)
        CheckOutside(VariantChangeType(value.Get(), value.Get(), 0, VT_BSTR));
    return Bstr::ToText(V_BSTR(value.Get()));
}

void LateBound::PutText(const wchar_t* name, const std::u16string& value) {
    Bstr text(value);
    VARIANT argument;
    VariantInit(&argument);
    V_VT(&argument) = VT_BSTR;
    V_BSTR(&argument) = text.Get();
    Put(name, argument);
}

}  // namespace quillmark::com
