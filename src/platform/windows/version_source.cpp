#include "platform/windows/version_source.h"

#include <windows.h>

#include <vector>

#include "base/error.h"
#include "platform/windows/module_file.h"
#include "platform/windows/win_error.h"

namespace quillmark::windows {

ComponentVersion WindowsVersionSource::Read() {
    const std::wstring path = ThisModulePath();
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
