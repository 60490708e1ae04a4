#include "faults.h"

#include <climits>
#include <cstdlib>

#include "record.h"
#include "scenario.h"
#include "text.h"

namespace standin {

namespace {

HRESULT ParseHresult(const nlohmann::json& value, const std::string& where) {
    if (value.is_string()) {
        const std::string text = value.get<std::string>();
        char* end = nullptr;
        const unsigned long long parsed = std::strtoull(text.c_str(), &end, 16);
        if (!text.empty() && *end == '\0' && parsed <= 0xFFFFFFFFull)
            return static_cast<HRESULT>(static_cast<unsigned long>(parsed));
    }
    throw ScenarioError(where + " must be an HRESULT in hexadecimal, such as \"0x8007000E\"");
}

bool IsAnswer(const nlohmann::json& answer) {
    if (answer.is_null() || answer.is_number_integer()) return true;
    if (answer.is_string()) return answer == "empty" || answer == "nothing";
    return answer.is_object() && answer.size() == 1 && answer.contains("error");
}

}  // namespace

Fault ParseFault(const nlohmann::json& entry, const std::string& where) {
    Fault fault;
    const nlohmann::json* point = &entry;
    if (entry.is_object()) {
        for (const auto& [name, value] : entry.items())
            if (name != "point" && name != "call" && name != "hresult" && name != "answer")
                throw ScenarioError(where + " has an unknown member \"" + name + "\"");
        if (!entry.contains("point")) throw ScenarioError(where + " needs a \"point\"");
        point = &entry["point"];
        if (entry.contains("call")) {
            const nlohmann::json& call = entry["call"];
            if (!call.is_number_integer() || call.get<long long>() < 1 ||
                call.get<long long>() > LONG_MAX)
                throw ScenarioError(where + ".call must be a positive integer");
            fault.call = static_cast<long>(call.get<long long>());
        }
        if (entry.contains("hresult"))
            fault.code = ParseHresult(entry["hresult"], where + ".hresult");
        if (entry.contains("answer")) {
            if (!IsAnswer(entry["answer"]))
                throw ScenarioError(where +
                                    ".answer must be null, an integer, \"empty\", "
                                    "\"nothing\" or {\"error\": HRESULT}");
            if (entry["answer"].is_object()) ParseHresult(entry["answer"]["error"], where);
            fault.answer = entry["answer"];
        }
    }
    if (!point->is_string() || !kFaultPoints.count(point->get<std::string>()))
        throw ScenarioError("fail names an unknown operation: " + point->dump());
    fault.point = point->get<std::string>();
    if (fault.answer && fault.point.rfind("safeitem.", 0) != 0)
        throw ScenarioError(where + ": only the safe mail item's properties answer values");
    return fault;
}

const Fault* Faults::Next(const std::string& point) {
    if (faults_.empty()) return nullptr;
    const long call = ++calls_[point];
    for (const Fault& fault : faults_)
        if (fault.point == point && (fault.call == 0 || fault.call == call)) return &fault;
    return nullptr;
}

HRESULT AnswerVariant(const nlohmann::json& answer, VARIANT* result) {
    VariantInit(result);
    if (answer.is_null()) {
        V_VT(result) = VT_NULL;
    } else if (answer.is_number_integer()) {
        V_VT(result) = VT_I4;
        V_I4(result) = static_cast<LONG>(answer.get<long long>());
    } else if (answer == "nothing") {
        V_VT(result) = VT_DISPATCH;
        V_DISPATCH(result) = nullptr;
    } else if (answer.is_object()) {
        V_VT(result) = VT_ERROR;
        V_ERROR(result) = ParseHresult(answer["error"], "answer");
    }
    return S_OK;  // "empty": VT_EMPTY
}

}  // namespace standin
