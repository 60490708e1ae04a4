#pragma once

#include <string>

namespace quillmark::com {

// Registers the type library embedded in the module as RegisterTypeLib would, but locale-neutral
// (under locale 0): the file says it was written for US English, and a registration under 0 is
// found by clients of every locale. Writes the library's TypeLib key and, for each interface an
// automation client can call, its Interface key under the automation marshaller, in this
// process's registry view and in the other one, which keeps interface keys apart.
void RegisterTypeLibrary(const std::wstring& modulePath);

// Removes what RegisterTypeLibrary writes. Keys that also hold other registrations (another
// version or platform of the library) stay; what is already gone is no failure.
void UnregisterTypeLibrary(const std::wstring& modulePath);

}  // namespace quillmark::com
