#pragma once

#include <windows.h>

namespace quillmark::com {

// Registers the type library (and with it the dual interfaces under the automation marshaller),
// both classes as apartment-threaded in-process servers, and their programmatic identifiers.
HRESULT RegisterServer();

// Removes exactly what RegisterServer writes; what is already gone is no failure.
HRESULT UnregisterServer();

}  // namespace quillmark::com
