#pragma once

#include <oaidl.h>

#include <vector>

#include "com/com_ptr.h"

namespace quillmark::type_library_writer {

// Writes the source library again through the automation runtime's writer, with the same
// attributes and the same types in the same order, except that a type which one of the imported
// libraries holds (the same GUID) is not copied: every reference to it refers to the imported
// library instead. widl copies an imported interface that a class lists into the new library;
// this turns the copy back into a reference.
void CopyLibrary(ITypeLib* source, const std::vector<com::ComPtr<ITypeLib>>& imported,
                 const wchar_t* outputPath);

}  // namespace quillmark::type_library_writer
