#include "type_copy.h"

#include <deque>
#include <string>
#include <vector>

#include "check_step.h"
#include "platform/windows/owners.h"

namespace quillmark::type_library_writer {

namespace {

using com::ComPtr;
using windows::BstrText;
using windows::UniqueBstr;

std::string NameOf(ITypeInfo* info) {
    UniqueBstr name;
    info->GetDocumentation(MEMBERID_NIL, name.Receive(), nullptr, nullptr, nullptr);
    const std::u16string text = BstrText(name.Get());
    return std::string(text.begin(), text.end());
}

// The size of a pointer on the platform the type's library is built for.
UINT PointerSizeOf(ITypeInfo* info) {
    ComPtr<ITypeLib> library;
    UINT index = 0;
    CheckStep(info->GetContainingTypeLib(library.Receive(), &index), "GetContainingTypeLib");
    return LibAttrOf(library.Get()).Get()->syskind == SYS_WIN64 ? 8 : 4;
}

bool IsDual(ITypeInfo* source) {
    const com::UniqueTypeAttr attributes = TypeAttrOf(source);
    return attributes.Get()->typekind == TKIND_DISPATCH &&
           (attributes.Get()->wTypeFlags & TYPEFLAG_FDUAL);
}

// The half of a dual interface that carries the vtable functions and the declared flags.
ComPtr<ITypeInfo> InterfaceHalf(ITypeInfo* dispatch) {
    HREFTYPE reference = 0;
    ComPtr<ITypeInfo> half;
    CheckStep(dispatch->GetRefTypeOfImplType(-1, &reference), "GetRefTypeOfImplType(-1)");
    CheckStep(dispatch->GetRefTypeInfo(reference, half.Receive()), "GetRefTypeInfo");
    return half;
}

// Rewrites type descriptions of the source type so that their references point into the
// library being written. Nested descriptions live as long as the translator.
class Translator {
  public:
    Translator(ITypeInfo* source, ICreateTypeInfo* target, const ReferenceTargets& references)
        : source_(source), target_(target), references_(references) {}

    HREFTYPE Reference(HREFTYPE sourceReference) {
        ComPtr<ITypeInfo> referenced;
        CheckStep(source_->GetRefTypeInfo(sourceReference, referenced.Receive()), "GetRefTypeInfo");
        const ComPtr<ITypeInfo> written = references_.TargetOf(referenced.Get());
        HREFTYPE reference = 0;
        CheckStep(target_->AddRefTypeInfo(written.Get(), &reference),
                  "AddRefTypeInfo of " + NameOf(written.Get()));
        return reference;
    }

    TYPEDESC Translate(const TYPEDESC& description) {
        TYPEDESC translated = description;
        switch (description.vt) {
            case VT_USERDEFINED:
                translated.hreftype = Reference(description.hreftype);
                break;
            case VT_PTR:
            case VT_SAFEARRAY:
                translated.lptdesc = &nested_.emplace_back(Translate(*description.lptdesc));
                break;
            case VT_CARRAY:
                throw std::runtime_error("fixed-size arrays are not supported");
            default:
                break;
        }
        return translated;
    }

  private:
    ITypeInfo* source_;
    ICreateTypeInfo* target_;
    const ReferenceTargets& references_;
    std::deque<TYPEDESC> nested_;
};

void CopyDescription(ITypeInfo* source, ICreateTypeInfo* target) {
    const com::UniqueTypeAttr lent = TypeAttrOf(source);
    const TYPEATTR& attributes = *lent.Get();
    if (attributes.cVars != 0)
        throw std::runtime_error(NameOf(source) + ": variables are not supported");
    CheckStep(target->SetGuid(attributes.guid), "SetGuid");
    CheckStep(target->SetVersion(attributes.wMajorVerNum, attributes.wMinorVerNum), "SetVersion");
    UniqueBstr documentation;
    DWORD helpContext = 0;
    CheckStep(source->GetDocumentation(MEMBERID_NIL, nullptr, documentation.Receive(), &helpContext,
                                       nullptr),
              "GetDocumentation");
    if (documentation.Get()) CheckStep(target->SetDocString(documentation.Get()), "SetDocString");
    if (helpContext) CheckStep(target->SetHelpContext(helpContext), "SetHelpContext");
}

// Last, after the implemented types: adding one may set the dispatchable flag by itself (the
// runtime's writer takes a reference to the library's first type for one to IDispatch).
void CopyTypeFlags(ITypeInfo* source, ICreateTypeInfo* target) {
    CheckStep(target->SetTypeFlags(TypeAttrOf(source).Get()->wTypeFlags), "SetTypeFlags");
}

void CopyImplementedTypes(ITypeInfo* source, ICreateTypeInfo* target, Translator& translator) {
    const WORD count = TypeAttrOf(source).Get()->cImplTypes;
    for (UINT index = 0; index < count; ++index) {
        HREFTYPE reference = 0;
        INT flags = 0;
        CheckStep(source->GetRefTypeOfImplType(index, &reference), "GetRefTypeOfImplType");
        CheckStep(source->GetImplTypeFlags(index, &flags), "GetImplTypeFlags");
        CheckStep(target->AddImplType(index, translator.Reference(reference)), "AddImplType");
        if (flags) CheckStep(target->SetImplTypeFlags(index, flags), "SetImplTypeFlags");
    }
}

void CopyFunction(ITypeInfo* source, ICreateTypeInfo* target, UINT index, Translator& translator) {
    const com::UniqueFuncDesc lent =
        Borrowed<com::UniqueFuncDesc>(source, &ITypeInfo::GetFuncDesc, "GetFuncDesc", index);
    const FUNCDESC& function = *lent.Get();
    FUNCDESC copy = function;
    // The runtime reports vtable offsets in this program's pointer size; the library keeps them
    // in its own platform's. Given explicitly, the writer keeps them as they are; laid out by the
    // writer, a 32-bit library's offsets would follow this 64-bit program's IDispatch.
    copy.oVft = static_cast<SHORT>(function.oVft * PointerSizeOf(source) / sizeof(void*));
    std::vector<ELEMDESC> parameters(function.lprgelemdescParam,
                                     function.lprgelemdescParam + function.cParams);
    for (ELEMDESC& parameter : parameters) parameter.tdesc = translator.Translate(parameter.tdesc);
    copy.lprgelemdescParam = parameters.data();
    copy.elemdescFunc.tdesc = translator.Translate(function.elemdescFunc.tdesc);
    CheckStep(target->AddFuncDesc(index, &copy), "AddFuncDesc");

    std::vector<BSTR> names(function.cParams + 1);
    UINT count = 0;
    CheckStep(
        source->GetNames(function.memid, names.data(), static_cast<UINT>(names.size()), &count),
        "GetNames");
    std::vector<UniqueBstr> owners(count);
    for (UINT name = 0; name < count; ++name) *owners[name].Receive() = names[name];
    CheckStep(target->SetFuncAndParamNames(index, names.data(), count), "SetFuncAndParamNames");

    UniqueBstr documentation;
    DWORD helpContext = 0;
    CheckStep(source->GetDocumentation(function.memid, nullptr, documentation.Receive(),
                                       &helpContext, nullptr),
              "GetDocumentation");
    if (documentation.Get())
        CheckStep(target->SetFuncDocString(index, documentation.Get()), "SetFuncDocString");
    if (helpContext)
        CheckStep(target->SetFuncHelpContext(index, helpContext), "SetFuncHelpContext");
}

}  // namespace

TYPEKIND WrittenKind(ITypeInfo* source) {
    if (IsDual(source)) return TKIND_INTERFACE;
    const TYPEKIND kind = TypeAttrOf(source).Get()->typekind;
    if (kind == TKIND_INTERFACE || kind == TKIND_COCLASS || kind == TKIND_ALIAS) return kind;
    throw std::runtime_error(NameOf(source) + ": this kind of type is not supported");
}

void CopyType(ITypeInfo* source, ICreateTypeInfo* target, const ReferenceTargets& references) {
    const TYPEKIND kind = WrittenKind(source);
    const ComPtr<ITypeInfo> copied =
        IsDual(source) ? InterfaceHalf(source) : ComPtr<ITypeInfo>(source);
    Translator translator(copied.Get(), target, references);
    CopyDescription(copied.Get(), target);
    if (kind == TKIND_ALIAS) {
        TYPEDESC alias = translator.Translate(TypeAttrOf(copied.Get()).Get()->tdescAlias);
        CheckStep(target->SetTypeDescAlias(&alias), "SetTypeDescAlias");
    } else {
        CopyImplementedTypes(copied.Get(), target, translator);
    }
    const WORD functions = TypeAttrOf(copied.Get()).Get()->cFuncs;
    for (UINT index = 0; index < functions; ++index)
        CopyFunction(copied.Get(), target, index, translator);
    CopyTypeFlags(copied.Get(), target);
}

}  // namespace quillmark::type_library_writer
