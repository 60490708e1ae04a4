#pragma once

// Runs a scenario in several single-threaded apartments at once: one thread each, each with its
// module object, engines, items, class registrations and record of its own (see TheRecord).

#include <functional>
#include <nlohmann/json.hpp>

namespace standin {

// Calls runOne(index) on count new threads at the same time and gives their reports in order of
// index. A thread whose run threw reports {"failure": what()} instead.
nlohmann::ordered_json RunApartments(int count,
                                     const std::function<nlohmann::ordered_json(int)>& runOne);

}  // namespace standin
