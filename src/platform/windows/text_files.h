#pragma once

#include <string>
#include <string_view>

namespace quillmark::windows {

// The whole file as text: UTF-16 when it starts with a byte order mark, else UTF-8 (with or
// without one) when it is valid UTF-8, else text in the system's ANSI code page. Throws
// quillmark::Error with the path and the system's reason.
std::u16string ReadTextFile(const std::u16string& path);

// Replaces the file with the text as UTF-8, after a byte order mark when asked (HTML and plain
// text take one; RTF readers do not).
void WriteTextFile(const std::u16string& path, std::u16string_view text, bool byteOrderMark);

// Creates the folder and those above it that are missing.
void CreateFolders(const std::u16string& path);

}  // namespace quillmark::windows
