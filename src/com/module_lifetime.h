#pragma once

#include <windows.h>

namespace quillmark::com {

// One count for the whole DLL: live objects (class factories included) plus LockServer locks.
// DllCanUnloadNow answers from it.
void LockModule();
void UnlockModule();
bool ModuleInUse();

// Holds one count for as long as it lives; member of every object this DLL hands out.
class ModuleReference {
  public:
    ModuleReference() { LockModule(); }
    ModuleReference(const ModuleReference&) = delete;
    ModuleReference& operator=(const ModuleReference&) = delete;
    ~ModuleReference() { UnlockModule(); }
};

}  // namespace quillmark::com
