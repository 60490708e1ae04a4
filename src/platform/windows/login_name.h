#pragma once

#include "platform/platform.h"

namespace quillmark::windows {

// The current user's Windows login name through the wide-character call, with room for the
// longest name Windows allows, so long and non-ANSI names come through intact.
class WindowsLoginName : public LoginNameSource {
  public:
    std::u16string UserName() override;
};

}  // namespace quillmark::windows
