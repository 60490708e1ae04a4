#pragma once

#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <string>

#include "com/type_description_owners.h"

namespace quillmark::type_library_writer {

// Stops the writer at a failed step: throws std::runtime_error naming the step and the HRESULT,
// which the writer reports before it exits.
inline void CheckStep(HRESULT code, const std::string& step) {
    if (SUCCEEDED(code)) return;
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(code));
    throw std::runtime_error(step + " failed with " + text);
}

// A description borrowed with com::Borrow, the step named by its method.
template <class Owner, class Source, class Get, class... Arguments>
Owner Borrowed(Source* source, Get get, const char* step, Arguments... arguments) {
    Owner owner;
    CheckStep(com::Borrow(owner, source, get, arguments...), step);
    return owner;
}

inline com::UniqueTypeAttr TypeAttrOf(ITypeInfo* info) {
    return Borrowed<com::UniqueTypeAttr>(info, &ITypeInfo::GetTypeAttr, "GetTypeAttr");
}

inline com::UniqueLibAttr LibAttrOf(ITypeLib* library) {
    return Borrowed<com::UniqueLibAttr>(library, &ITypeLib::GetLibAttr, "GetLibAttr");
}

}  // namespace quillmark::type_library_writer
