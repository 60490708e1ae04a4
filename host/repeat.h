#pragma once

// Runs one step as often as its "repeat" says. A repeated step reports its first run, how many
// runs it made, how many of them reported something else than the first (and up to three such
// reports), and the trace and log lines of all runs counted (per engine, per log message)
// instead of listed, so that a long run does not grow the host itself.

#include <nlohmann/json.hpp>

#include "runner.h"
#include "scenario.h"

namespace standin {

nlohmann::ordered_json RunRepeated(Runner& runner, const Step& step);

}  // namespace standin
