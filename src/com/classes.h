#pragma once

// The component's creatable classes, in one table that the class factory and registration both
// read. Adding a class means adding a row here and nowhere else in the server's plumbing.
//
//   if (const ClassEntry* entry = FindClass(clsid)) create a factory around entry->create;

#include <windows.h>

#include <span>

namespace quillmark::com {

// Creates a new instance of one class and asks it for iid.
using ObjectCreator = HRESULT (*)(REFIID iid, void** result);

struct ClassEntry {
    const CLSID& clsid;
    const wchar_t* progId;
    ObjectCreator create;
};

std::span<const ClassEntry> Classes();

// The row of the class, or null when the component has no such class.
const ClassEntry* FindClass(REFCLSID clsid);

}  // namespace quillmark::com
