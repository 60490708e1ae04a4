#include "com/module_lifetime.h"

#include "platform/windows/win_error.h"

namespace quillmark::com {

namespace {

LONG g_moduleCount = 0;

HMODULE ThisModule() {
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCWSTR>(&ThisModule), &module))
        windows::ThrowWin32(GetLastError());
    return module;
}

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

std::wstring ThisModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(ThisModule(), path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) windows::ThrowWin32(GetLastError());
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace quillmark::com
