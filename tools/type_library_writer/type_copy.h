#pragma once

#include <oaidl.h>

#include "com/com_ptr.h"

namespace quillmark::type_library_writer {

// Where a type that a source type refers to lives in the library being written: a type copied
// into it, a type of an imported library, or the referenced type itself (stdole's IDispatch).
class ReferenceTargets {
  public:
    virtual com::ComPtr<ITypeInfo> TargetOf(ITypeInfo* referenced) const = 0;

  protected:
    ~ReferenceTargets() = default;
};

// The type information the writer creates for a source type: a dual interface is written as
// its interface half, flagged dual, which the runtime presents again as the dispatch half.
TYPEKIND WrittenKind(ITypeInfo* source);

// Copies the content of one type (attributes, implemented types, functions, alias target) into
// a type created with WrittenKind(source). Throws for what the copy does not handle.
void CopyType(ITypeInfo* source, ICreateTypeInfo* target, const ReferenceTargets& references);

}  // namespace quillmark::type_library_writer
