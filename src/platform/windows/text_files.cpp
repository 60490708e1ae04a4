#include "platform/windows/text_files.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <string>

#include "base/error.h"
#include "platform/windows/owners.h"
#include "platform/windows/wide.h"
#include "platform/windows/win_error.h"

namespace quillmark::windows {

namespace {

[[noreturn]] void ThrowForPath(const std::u16string& path, DWORD code) {
    throw Error(path + u": " + SystemMessage(HRESULT_FROM_WIN32(code)),
                static_cast<std::int32_t>(HRESULT_FROM_WIN32(code)));
}

UniqueHandle OpenFile(const std::u16string& path, DWORD access, DWORD disposition) {
    const HANDLE handle = CreateFileW(WidePtr(path), access, FILE_SHARE_READ, nullptr, disposition,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) ThrowForPath(path, GetLastError());
    return UniqueHandle(handle);
}

std::u16string Decode(const std::string& bytes) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::u16string text((bytes.size() - 2) / 2, u'\0');
        for (size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 + 2 * i]) |
                                            static_cast<unsigned char>(bytes[3 + 2 * i]) << 8);
        return text;
    }
    const bool utf8Mark = bytes.rfind("\xEF\xBB\xBF", 0) == 0;
    const char* data = bytes.data() + (utf8Mark ? 3 : 0);
    const int size = static_cast<int>(bytes.size() - (utf8Mark ? 3 : 0));
    if (size == 0) return {};
    UINT codePage = CP_UTF8;
    DWORD flags = MB_ERR_INVALID_CHARS;
    int units = MultiByteToWideChar(codePage, flags, data, size, nullptr, 0);
    if (units == 0) {
        codePage = CP_ACP;
        flags = 0;
        units = MultiByteToWideChar(codePage, flags, data, size, nullptr, 0);
    }
    std::wstring text(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(codePage, flags, data, size, text.data(), units);
    return FromWide(text);
}

}  // namespace

std::u16string ReadTextFile(const std::u16string& path) {
    const UniqueHandle file = OpenFile(path, GENERIC_READ, OPEN_EXISTING);
    std::string bytes;
    char buffer[65536];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr))
            ThrowForPath(path, GetLastError());
        if (read == 0) return Decode(bytes);
        bytes.append(buffer, read);
    }
}

void WriteTextFile(const std::u16string& path, std::u16string_view text, bool byteOrderMark) {
    std::string bytes = byteOrderMark ? "\xEF\xBB\xBF" : "";
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide, size, nullptr, 0, nullptr, nullptr);
    const size_t start = bytes.size();
    bytes.resize(start + static_cast<size_t>(length));
    WideCharToMultiByte(CP_UTF8, 0, wide, size, bytes.data() + start, length, nullptr, nullptr);
    const UniqueHandle file = OpenFile(path, GENERIC_WRITE, CREATE_ALWAYS);
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        ThrowForPath(path, GetLastError());
}

void CreateFolders(const std::u16string& path) {
    // The shell wants a full path; a relative one is taken from the current folder.
    const DWORD needed = GetFullPathNameW(WidePtr(path), 0, nullptr, nullptr);
    if (needed == 0) ThrowForPath(path, GetLastError());
    std::wstring full(needed, L'\0');
    full.resize(GetFullPathNameW(WidePtr(path), needed, full.data(), nullptr));
    const int status = SHCreateDirectoryExW(nullptr, full.c_str(), nullptr);
    if (status != ERROR_SUCCESS && status != ERROR_ALREADY_EXISTS)
        ThrowForPath(path, static_cast<DWORD>(status));
}

}  // namespace quillmark::windows
