#pragma once

// The check's findings, as text for people and as JSON (UTF-8) for scripts.

#include <string>
#include <string_view>

#include "check/desktop_check.h"

namespace quillmark::check {

std::u16string TextReport(const DesktopCheck& check, std::u16string_view version);
std::string JsonReport(const DesktopCheck& check, std::u16string_view version);

}  // namespace quillmark::check
