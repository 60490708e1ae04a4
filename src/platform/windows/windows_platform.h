#pragma once

#include "platform/platform.h"

namespace quillmark::windows {

// The Win32 implementations of every platform port, created once and shared by all objects.
const Platform& WindowsPlatform();

}  // namespace quillmark::windows
