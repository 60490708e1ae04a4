#pragma once

#include "platform/platform.h"

namespace quillmark::windows {

// Reads the version numbers from the version resource of the module this code is linked into:
// the DLL when it runs inside Quillmark.dll, not the program that loaded it.
class WindowsVersionSource : public VersionSource {
  public:
    ComponentVersion Read() override;
};

}  // namespace quillmark::windows
