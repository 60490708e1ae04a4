#include "mail_helper_library.h"

#include "json_text.h"

namespace standin {

namespace {

// The automation value a fault's answer stands for: null, "empty", "nothing" (an empty object
// reference) or {"error": "0x…"}.
void AnswerVariant(const std::string& answer, VARIANT* result) {
    const nlohmann::json value = nlohmann::json::parse(answer);
    VariantInit(result);
    if (value.is_null()) {
        V_VT(result) = VT_NULL;
    } else if (value == "nothing") {
        V_VT(result) = VT_DISPATCH;
        V_DISPATCH(result) = nullptr;
    } else if (value.is_object()) {
        V_VT(result) = VT_ERROR;
        ParseHresult(value["error"], &V_ERROR(result));
    }
}

}  // namespace

HRESULT MapiUtils::Cleanup() {
    return Answer([&] { fake_.Cleanup(); });
}

HRESULT SafeMailItem::Bind(IDispatch* value) {
    OutlookObject* item = OutlookObject::Find(value);
    if (!item) return RaiseError(E_INVALIDARG, u"The object is not an Outlook item");
    const HRESULT code = Answer([&] { fake_.BindItem(item->Item()); });
    if (SUCCEEDED(code)) bound_ = ComPtr<IDispatch>(value);
    return code;
}

HRESULT SafeMailItem::Save() {
    return Answer([&] { fake_.Save(); });
}

HRESULT SafeMailItem::Get(Read read, BSTR* value) {
    if (!value) return E_POINTER;
    quillmark::SharedText text;
    const HRESULT code = Answer([&] { text = (fake_.*read)(); });
    return FAILED(code) ? code : ReturnText(text.View(), value);
}

HRESULT SafeMailItem::Put(Write write, BSTR value) {
    return Answer([&] {
        (fake_.*write)(quillmark::SplicedText{
            std::u16string_view(reinterpret_cast<const char16_t*>(value), SysStringLen(value))});
    });
}

HRESULT SafeMailItem::Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                             VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
    fake_.answer.reset();
    const HRESULT code =
        DispatchObject::Invoke(id, iid, locale, flags, params, result, exception, argumentError);
    if (SUCCEEDED(code) && fake_.answer && result) {
        VariantClear(result);
        AnswerVariant(*fake_.answer, result);
    }
    fake_.answer.reset();
    return code;
}

}  // namespace standin
