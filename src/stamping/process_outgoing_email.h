#pragma once

// The stamping component: composes the stamp from the stored template (author, date, time and
// zone tokens) and writes it into the subject or into the HTML, RTF or plain-text body of one
// outgoing mail item. It reports its own errors, as one line through the host's log that names
// the step that failed, and never throws for them.
//
//   stamping::ProcessOutgoingEmail(
//       {.outside = outside, .platform = platform, .settings = settings,
//        .trace = [&](const std::u16string& line) { WriteTrace(u"ProcessOutgoingEmail", line); }},
//       item);

#include <functional>
#include <string>

#include "outside/outside_ports.h"
#include "platform/platform.h"
#include "settings/settings.h"

namespace quillmark::stamping {

// What one stamping run needs from the module object that starts it.
struct StampingServices {
    OutsideObjects& outside;
    const Platform& platform;
    ModuleSettings& settings;
    // Sends one progress line to the engine; a failure throws and ends the run like any error.
    std::function<void(const std::u16string& line)> trace;
};

// Stamps one item the user is sending. Items that are not mail messages, and any item while no
// template is stored, are left alone without a trace. Only a failure of the error log itself
// leaves the routine.
void ProcessOutgoingEmail(const StampingServices& services, OutlookItem& item);

}  // namespace quillmark::stamping
