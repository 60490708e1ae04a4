#pragma once

#include "platform/platform.h"

namespace quillmark {

// Upper-casing for ASCII, Latin-1 and Latin Extended-A, one code unit to one code unit; every
// other unit is kept. Serves where no locale service is at hand (native builds).
class LatinCaseFolding : public CaseFolding {
  public:
    std::u16string ToUpper(std::u16string_view text) override;
    static char16_t ToUpper(char16_t unit);
};

}  // namespace quillmark
