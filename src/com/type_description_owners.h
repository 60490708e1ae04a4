#pragma once

// Owners of the descriptions that type information and type libraries lend out (TYPEATTR,
// FUNCDESC, TLIBATTR), built on the one owner template: each goes back to the object that lent
// it, through that object's own release method. Header-only, for the type-library writer too.
//
//   UniqueTypeAttr attributes;
//   Borrow(attributes, info, &ITypeInfo::GetTypeAttr);   // ReleaseTypeAttr when it goes
//   attributes.Get()->typekind

#include <windows.h>
// After windows.h, which it needs.
#include <oaidl.h>

#include "base/unique_any.h"

namespace quillmark::com {

// A description and the object that lent it, which Release gives it back to. The owner holds no
// reference to that object: it must not outlive it.
template <class Source, class Description, auto Release>
struct Lent {
    Source* source = nullptr;
    Description* description = nullptr;

    const Description* operator->() const { return description; }
    const Description& operator*() const { return *description; }
};

template <class Source, class Description, auto Release>
void GiveBack(Lent<Source, Description, Release>* lent) {
    if (lent->description) (lent->source->*Release)(lent->description);
}

template <class Source, class Description, auto Release>
using UniqueLent =
    UniqueAny<Lent<Source, Description, Release>, &GiveBack<Source, Description, Release>>;

using UniqueTypeAttr = UniqueLent<ITypeInfo, TYPEATTR, &ITypeInfo::ReleaseTypeAttr>;
using UniqueFuncDesc = UniqueLent<ITypeInfo, FUNCDESC, &ITypeInfo::ReleaseFuncDesc>;
using UniqueLibAttr = UniqueLent<ITypeLib, TLIBATTR, &ITypeLib::ReleaseTLibAttr>;

// Borrows a description from source through get (GetTypeAttr, GetFuncDesc with its index,
// GetLibAttr) into owner, which first gives back what it held.
template <class Owner, class Source, class Get, class... Arguments>
HRESULT Borrow(Owner& owner, Source* source, Get get, Arguments... arguments) {
    owner.Reset({source, nullptr});
    return (source->*get)(arguments..., &owner.Get().description);
}

}  // namespace quillmark::com
