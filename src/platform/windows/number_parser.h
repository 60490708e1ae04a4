#pragma once

#include "platform/platform.h"

namespace quillmark::windows {

// The automation runtime's conversion (VarI4FromStr) in the user's locale: halves round to even,
// a text that is not a number or does not fit 32 bits throws quillmark::Error with the system's
// text and HRESULT.
class VariantNumberParser : public NumberParser {
  public:
    std::int32_t ToInt32(const std::u16string& text) override;
};

}  // namespace quillmark::windows
