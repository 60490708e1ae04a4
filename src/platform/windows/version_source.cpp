#include "platform/windows/version_source.h"

#include <windows.h>

#include <vector>

#include "module/error.h"
#include "platform/windows/win_error.h"

namespace quillmark::windows {

namespace {

// The module that contains this function, found by address so that it is the DLL itself.
HMODULE ContainingModule() {
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCWSTR>(&ContainingModule), &module))
        ThrowWin32(GetLastError());
    return module;
}

std::wstring ModulePath(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) ThrowWin32(GetLastError());
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

ComponentVersion WindowsVersionSource::Read() {
    const std::wstring path = ModulePath(ContainingModule());
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) ThrowWin32(GetLastError());
    std::vector<unsigned char> data(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) ThrowWin32(GetLastError());
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) ||
        length < sizeof(VS_FIXEDFILEINFO))
        throw Error(u"The component has no version information");
    return ComponentVersion{HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                            LOWORD(info->dwFileVersionLS)};
}

}  // namespace quillmark::windows
