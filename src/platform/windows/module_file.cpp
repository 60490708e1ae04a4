#include "platform/windows/module_file.h"

#include <windows.h>

#include "platform/windows/win_error.h"

namespace quillmark::windows {

namespace {

// The module that contains this function, found by address so that it is the DLL itself.
HMODULE ThisModule() {
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCWSTR>(&ThisModule), &module))
        ThrowWin32(GetLastError());
    return module;
}

}  // namespace

std::wstring ThisModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(ThisModule(), path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) ThrowWin32(GetLastError());
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace quillmark::windows
