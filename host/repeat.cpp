#include "repeat.h"

#include "record.h"
#include "text.h"

namespace standin {

nlohmann::ordered_json RunRepeated(Runner& runner, const Step& step) {
    if (step.repeat == 1) return runner.Run(step);
    Record& record = TheRecord();
    record.summarise = true;
    record.traceCounts.clear();
    record.logCounts.clear();
    nlohmann::ordered_json first = runner.Run(step), others = nlohmann::ordered_json::array();
    long differing = 0;
    for (long run = 1; run < step.repeat; ++run) {
        nlohmann::ordered_json result = runner.Run(step);
        if (result == first) continue;
        if (others.size() < 3) others.push_back(std::move(result));
        ++differing;
    }
    record.summarise = false;
    nlohmann::ordered_json trace = nlohmann::ordered_json::object(),
                           log = nlohmann::ordered_json::object();
    for (const auto& [engine, count] : record.traceCounts) trace[engine] = count;
    for (const auto& [message, count] : record.logCounts) log[WideToUtf8(message)] = count;
    first["repeat"] = step.repeat;
    first["differing"] = differing;
    first["others"] = others;
    first["traceCounts"] = trace;
    first["logCounts"] = log;
    return first;
}

}  // namespace standin
