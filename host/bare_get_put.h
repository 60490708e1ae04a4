#pragma once

// The least any stamper of a property must do, as a baseline: the benchmarks time a send against
// it, and a test checks that it leaves a large body as it was.

#include <ole2.h>
#include <windows.h>

#include <string>

namespace standin {

// Reads the item's property through a fresh safe mail item, late-bound by name as a scripting
// client does, and writes the value it read back unchanged.
HRESULT BareGetPut(IDispatch* item, const std::wstring& property);

}  // namespace standin
