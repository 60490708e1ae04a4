#pragma once

// The outside operations a scenario makes fail or answer oddly. A fault names an operation and,
// optionally, the one call of it that fails (the Nth, counted from 1 over the whole run; by
// default every call), the HRESULT it fails with (then without error information, as a system
// failure comes), or a value the operation answers instead of failing (property reads of the
// safe mail item only).
//
//   "fail": [ "safeitem.Save",
//             { "point": "safeitem.Subject.get", "call": 2 },
//             { "point": "safeitem.HTMLBody.get", "hresult": "0x8007000E" },
//             { "point": "safeitem.Subject.get", "answer": null } ]

#include <ole2.h>
#include <windows.h>

#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace standin {

// A failure HRESULT of the interface facility, so that it cannot be mistaken for a system error.
constexpr HRESULT kInjectedFailure = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x200);

struct Fault {
    std::string point;
    long call = 0;  // 0: every call
    HRESULT code = kInjectedFailure;
    // What the operation answers instead of failing: null, a number, "empty", "nothing" (an
    // empty object reference) or {"error": "0x…"}.
    std::optional<nlohmann::json> answer;
};

// Parses one entry of "fail"; throws ScenarioError for a malformed one.
Fault ParseFault(const nlohmann::json& entry, const std::string& where);

// The faults of one run, with the number of calls each operation has had so far.
class Faults {
  public:
    void Add(Fault fault) { faults_.push_back(std::move(fault)); }
    void Clear() {
        faults_.clear();
        calls_.clear();
    }
    // Counts one call of point and returns the fault that applies to it, or null.
    const Fault* Next(const std::string& point);

  private:
    std::vector<Fault> faults_;
    std::map<std::string, long> calls_;
};

// The automation value an answer stands for.
HRESULT AnswerVariant(const nlohmann::json& answer, VARIANT* result);

}  // namespace standin
