#pragma once

// What the check finds for each application name: the settings in force and where they come
// from, the time zone, the stamp a message sent now gets and where it goes in each sample, and
// every problem with its consequence. It sends the samples through the module's own stamping
// routine, with the real settings, policies, clock and zone, and keeps them in memory.
//
//   DesktopCheck found = CheckDesktop(windows::WindowsPlatform(), {}, BuiltInSamples());
//   if (found.SendsFail()) { /* exit status 1 */ }

#include <optional>
#include <string>
#include <vector>

#include "check/held_message.h"
#include "check/sample_messages.h"
#include "check/setting_report.h"
#include "platform/platform.h"

namespace quillmark::check {

struct Placement {
    MessageSample sample;
    HeldMessage sent;
    std::u16string where;      // "at the end", "before the earlier message", ...
    std::u16string separator;  // the separator the stamp stands above, as people call it
};

struct Problem {
    bool failsSends;         // sends fail or stamp nothing; otherwise they stamp unexpectedly
    std::u16string setting;  // the setting at fault, or empty
    std::u16string what;
    std::u16string consequence;
};

struct ApplicationCheck {
    std::u16string application;
    std::u16string location;  // where its settings are
    bool sectionFound = false;
    std::vector<SettingReport> settings;
    std::u16string zoneName, zoneAbbreviation;
    std::optional<std::u16string> stamp;  // none when nothing is stamped
    bool intoSubject = false;
    std::vector<std::u16string> sendLog;  // what a send logs: nothing when it stamps
    std::vector<Placement> placements;
    std::vector<Problem> problems;
};

struct DesktopCheck {
    std::u16string user;                          // the login name
    std::vector<std::u16string> policyLocations;  // machine, user
    std::vector<ApplicationCheck> applications;
    std::vector<Problem> problems;  // of the desktop as a whole
    // Whether any problem makes sends fail or stamp nothing.
    bool SendsFail() const;
};

// Checks the named applications, or, with none named, every one that holds a Quillmark section.
DesktopCheck CheckDesktop(const Platform& platform, const std::vector<std::u16string>& named,
                          const std::vector<MessageSample>& samples);

}  // namespace quillmark::check
