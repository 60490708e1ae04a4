#include "com/outlook_item.h"

#include "platform/windows/owners.h"

namespace quillmark::com {

std::u16string ComOutlookItem::TypeName() {
    IDispatch* item = item_.Dispatch();
    if (!item) return u"Nothing";
    ComPtr<ITypeInfo> typeInfo;
    windows::UniqueBstr name;
    if (FAILED(item->GetTypeInfo(0, LOCALE_USER_DEFAULT, typeInfo.Receive())) || !typeInfo ||
        FAILED(typeInfo->GetDocumentation(MEMBERID_NIL, name.Receive(), nullptr, nullptr, nullptr)))
        return u"Object";
    std::u16string text = windows::BstrText(name.Get());
    if (!text.empty() && text.front() == u'_') text.erase(0, 1);
    return text;
}

bool ComOutlookItem::SubmittedEqualsTrue() {
    windows::UniqueVariant submitted;
    item_.Get(L"Submitted", submitted);
    VARIANT trueValue{};
    V_VT(&trueValue) = VT_BOOL;
    V_BOOL(&trueValue) = VARIANT_TRUE;
    // Automation equality: a number or text that converts to -1 equals True; Null, Empty and
    // values that cannot be compared do not.
    return VarCmp(&submitted.Get(), &trueValue, LOCALE_USER_DEFAULT, 0) == VARCMP_EQ;
}

}  // namespace quillmark::com
