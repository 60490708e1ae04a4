#include "platform/windows/console.h"

#include <windows.h>

#include <string>

namespace quillmark::windows {

namespace {

void WriteTo(DWORD which, std::u16string_view text) {
    const HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE || text.empty()) return;
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(handle, &mode)) {
        WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int size = static_cast<int>(text.size());
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, size, utf8.data(), bytes, nullptr, nullptr);
    WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

}  // namespace

void WriteStandardOutput(std::u16string_view text) {
    WriteTo(STD_OUTPUT_HANDLE, text);
}

void WriteStandardError(std::u16string_view text) {
    WriteTo(STD_ERROR_HANDLE, text);
}

}  // namespace quillmark::windows
