#pragma once

// A scenario: the settings to prepare, the outside operations to fail, and the calls the host
// makes on the module. Parsing checks everything before anything runs, so that a malformed
// scenario leaves no trace in the settings store.

#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "fake_host.h"
#include "settings_section.h"

namespace standin {

// A scenario that cannot be run; what() is a one-line explanation.
class ScenarioError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Throws ScenarioError unless object is a JSON object with no members but those allowed.
void CheckMembers(const nlohmann::json& object, const std::set<std::string>& allowed,
                  const std::string& where);

struct ScenarioItem {
    std::optional<std::string> id;  // items sharing an id are one object across steps
    bool reused = false;            // an earlier step created the item with this id
    std::optional<std::u16string> type;
    std::optional<nlohmann::json> submitted;
    std::u16string subject, body, htmlBody, rtfBody, format;
};

struct Step {
    std::string call;
    std::optional<std::string> engine;  // ZMStartup; none passes no engine at all
    long selector = 4;
    bool cancel = false;
    std::optional<ScenarioItem> item;  // ZMItemEvent; none passes no item at all
    std::u16string message;            // ZMSendMessage
    long number = 0;        // ZMButtonAction buttonId, ZMMenuAction menuId, ZMHotkeyAction lp
    std::wstring property;  // BareGetPut: the safe mail item's property it reads and writes
    bool cancelDefault = false;
    long repeat = 1;        // how many times the step runs
    std::string label;      // Measure: names the point in the report
    nlohmann::json invoke;  // Invoke: the raw call (see raw_invoke.h)
};

struct Scenario {
    bool resetSettings = false;
    // Values to write before the run; none deletes the value.
    std::map<std::u16string, std::optional<RawValue>> settings;
    // The policy keys' values for the run; keys the scenario does not name are deleted.
    std::map<std::u16string, RawValue> machinePolicies, userPolicies;
    std::vector<quillmark::testing::Fault> failing;
    std::vector<Step> steps;
    int apartments = 1;  // each runs every step with a module object of its own, at the same time
};

Scenario ParseScenario(const nlohmann::json& document);

}  // namespace standin
