#pragma once

#include <string_view>

namespace quillmark::windows {

// Writes text to standard output or standard error: through the console when that is where it
// goes, so that every character shows, else (a file or a pipe) as UTF-8. Failures are ignored:
// there is nowhere left to report them.
void WriteStandardOutput(std::u16string_view text);
void WriteStandardError(std::u16string_view text);

}  // namespace quillmark::windows
