#pragma once

#include <string>

namespace quillmark::windows {

// The full path of the module this code is linked into: Quillmark.dll when it runs inside the
// DLL, not the program that loaded it. Registration, type information and the version resource
// are all read from that file.
std::wstring ThisModulePath();

}  // namespace quillmark::windows
