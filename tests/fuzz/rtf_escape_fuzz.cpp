// Escaping text for RTF: the escaped text is plain ASCII in which every backslash and brace is
// part of an escape, so it cannot open or close a group, and reading it back gives the text.

#include <cstddef>
#include <cstdint>

#include "fuzz_input.h"
#include "reference.h"
#include "rtf_reader.h"
#include "stamping/rtf_escape.h"

using namespace quillmark;
using namespace quillmark::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::u16string text = input.Text(4096);
    const std::u16string escaped = stamping::EscapeForRtf(text);
    const std::optional<std::u16string> read = ReadRtfText(escaped);
    Require(read.has_value(), "escaped text is ASCII without a bare backslash or brace");
    Require(*read == text, "escaped text reads back as the text");
    return 0;
}
