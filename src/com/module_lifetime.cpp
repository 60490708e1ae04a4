#include "com/module_lifetime.h"

namespace quillmark::com {

namespace {

LONG g_moduleCount = 0;

}  // namespace

void LockModule() {
    InterlockedIncrement(&g_moduleCount);
}
void UnlockModule() {
    InterlockedDecrement(&g_moduleCount);
}
bool ModuleInUse() {
    return InterlockedCompareExchange(&g_moduleCount, 0, 0) != 0;
}

}  // namespace quillmark::com
