#include "platform/windows/win_error.h"

#include <cstdio>

#include "base/error.h"
#include "platform/windows/owners.h"
#include "platform/windows/wide.h"

namespace quillmark::windows {

std::u16string SystemMessage(HRESULT code) {
    UniqueLocalMemory buffer;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(buffer.Receive()), 0,
        nullptr);
    std::u16string text;
    if (length > 0 && buffer) {
        text = FromWide(std::wstring_view(static_cast<const wchar_t*>(buffer.Get()), length));
        while (!text.empty() &&
               (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' '))
            text.pop_back();
    }
    if (text.empty()) {
        char hex[32];
        std::snprintf(hex, sizeof hex, "Error 0x%08lX", static_cast<unsigned long>(code));
        text.assign(hex, hex + std::char_traits<char>::length(hex));
    }
    return text;
}

void ThrowHresult(HRESULT code) {
    throw Error(SystemMessage(code), code);
}

void ThrowWin32(DWORD code) {
    ThrowHresult(HRESULT_FROM_WIN32(code));
}

}  // namespace quillmark::windows
