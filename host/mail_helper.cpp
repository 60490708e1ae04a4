#include "mail_helper.h"

#include "text.h"

namespace standin {

namespace {

HRESULT NotBound() {
    return RaiseError(E_UNEXPECTED, L"The safe mail item is not bound to an item");
}

}  // namespace

HRESULT MapiUtils::Cleanup() {
    HRESULT failure;
    if (Injected("mapiutils.Cleanup", &failure)) return failure;
    ++TheRecord().cleanups;
    return S_OK;
}

HRESULT SafeMailItem::Bind(IDispatch* value) {
    HRESULT failure;
    if (Injected("safeitem.item", &failure)) return failure;
    OutlookObject* item = OutlookObject::Find(value);
    if (!item) return RaiseError(E_INVALIDARG, L"The object is not an Outlook item");
    bound_ = ComPtr<IDispatch>(value);
    item_ = item;
    return S_OK;
}

HRESULT SafeMailItem::put_item(IDispatch* value) {
    return Bind(value);
}
HRESULT SafeMailItem::putref_item(IDispatch* value) {
    return Bind(value);
}

HRESULT SafeMailItem::Save() {
    HRESULT failure;
    if (Injected("safeitem.Save", &failure)) return failure;
    if (!item_) return NotBound();
    ++item_->Content().saves;
    return S_OK;
}

HRESULT SafeMailItem::Read(const char* point, std::wstring MailContent::*field, BSTR* value) {
    HRESULT failure;
    if (Injected(point, &failure, &answer_)) return failure;
    if (answer_) {
        *value = nullptr;
        return S_OK;
    }
    if (!item_) return NotBound();
    return ReturnText(item_->Content().*field, value);
}

HRESULT SafeMailItem::Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                             VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
    answer_.reset();
    const HRESULT code =
        DispatchObject::Invoke(id, iid, locale, flags, params, result, exception, argumentError);
    if (SUCCEEDED(code) && answer_ && result) {
        VariantClear(result);
        AnswerVariant(*answer_, result);
    }
    answer_.reset();
    return code;
}

HRESULT SafeMailItem::Write(const char* point, std::wstring MailContent::*field, BSTR value) {
    HRESULT failure;
    if (Injected(point, &failure)) return failure;
    if (!item_) return NotBound();
    item_->Content().*field = BstrText(value);
    return S_OK;
}

HRESULT SafeMailItem::get_Subject(BSTR* value) {
    return Read("safeitem.Subject.get", &MailContent::subject, value);
}
HRESULT SafeMailItem::put_Subject(BSTR value) {
    return Write("safeitem.Subject.put", &MailContent::subject, value);
}
HRESULT SafeMailItem::get_Body(BSTR* value) {
    return Read("safeitem.Body.get", &MailContent::body, value);
}
HRESULT SafeMailItem::put_Body(BSTR value) {
    return Write("safeitem.Body.put", &MailContent::body, value);
}
HRESULT SafeMailItem::get_HTMLBody(BSTR* value) {
    return Read("safeitem.HTMLBody.get", &MailContent::htmlBody, value);
}
HRESULT SafeMailItem::put_HTMLBody(BSTR value) {
    return Write("safeitem.HTMLBody.put", &MailContent::htmlBody, value);
}
HRESULT SafeMailItem::get_RTFBody(BSTR* value) {
    return Read("safeitem.RTFBody.get", &MailContent::rtfBody, value);
}
HRESULT SafeMailItem::put_RTFBody(BSTR value) {
    return Write("safeitem.RTFBody.put", &MailContent::rtfBody, value);
}

}  // namespace standin
