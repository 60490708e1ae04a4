#pragma once

#include "platform/platform.h"

namespace quillmark::windows {

// The user locale's ordinary upper-casing (LCMapStringEx). Guarantees one code unit out for
// every code unit in, which case-insensitive searches rely on to map positions back.
class LocaleCaseFolding : public CaseFolding {
  public:
    std::u16string ToUpper(std::u16string_view text) override;
};

}  // namespace quillmark::windows
