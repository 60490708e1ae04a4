#include "platform/windows/login_name.h"

#include <windows.h>

// lmcons.h needs the types windows.h declares.
#include <lmcons.h>

#include <string_view>

#include "platform/windows/wide.h"
#include "platform/windows/win_error.h"

namespace quillmark::windows {

std::u16string WindowsLoginName::UserName() {
    wchar_t buffer[UNLEN + 1] = {};
    DWORD size = UNLEN + 1;
    if (!GetUserNameW(buffer, &size)) ThrowWin32(GetLastError());
    // size counts the terminating zero; the name ends at it either way.
    const std::wstring_view written(buffer, size < UNLEN + 1 ? size : UNLEN + 1);
    return FromWide(written.substr(0, written.find(L'\0')));
}

}  // namespace quillmark::windows
