#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/platform.h"

namespace quillmark::windows {

// One value under root\path as it is stored: its text when it is a plain string (REG_SZ), else
// the name of its kind, or nothing when the key or the value does not exist. view adds a
// registry view to the access (KEY_WOW64_64KEY), or is 0 for the process's own. A read never
// writes; other failures throw.
StoredValue ReadRegistryValue(HKEY root, const std::wstring& path, const std::wstring& name,
                              REGSAM view = 0);

// The names of the subkeys of root\path that have a subkey named child; none when root\path
// does not exist.
std::vector<std::u16string> SubkeysHolding(HKEY root, const std::wstring& path,
                                           const std::wstring& child);

}  // namespace quillmark::windows
