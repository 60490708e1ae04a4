#pragma once

#include <windows.h>

namespace quillmark::com {

// One count for the whole DLL: live objects (class factories included, see com_object.h) plus
// LockServer locks. DllCanUnloadNow answers from it.
void LockModule();
void UnlockModule();
bool ModuleInUse();

}  // namespace quillmark::com
