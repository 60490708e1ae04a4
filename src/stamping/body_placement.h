#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "outside/outside_ports.h"
#include "platform/platform.h"

namespace quillmark::stamping {

// What body placement needs of the stamping routine: its objects, the step number that its
// error report quotes (advanced here as each step begins), and its trace routine.
struct StampingRun {
    OutsideObjects& outside;
    CaseFolding& folding;
    SafeMailItem& mail;
    int& step;
    std::function<void(const std::u16string&)> trace;
};

// Asks the body's format and puts the stamp into the HTML, RTF or plain-text body: above the
// quoted thread, before its earliest separator (separators.h), when the body holds one, else at
// the end. Writes one trace line saying where. Errors propagate with run.step naming the step
// that failed.
void PlaceInBody(StampingRun& run, std::u16string_view stamp);

}  // namespace quillmark::stamping
