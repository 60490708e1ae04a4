#include "scenario.h"

#include <climits>

#include "base/text.h"
#include "extension.h"
#include "json_text.h"
#include "platform/windows/wide.h"
#include "raw_invoke.h"
#include "settings_section.h"

namespace standin {

namespace {

using nlohmann::json;
using quillmark::FromUtf8;
using quillmark::testing::Fault;

// The members each call takes besides "call".
const std::map<std::string, std::set<std::string>> kCalls = {
    {"RegistryName", {}},
    {"FriendlyName", {}},
    {"Version", {}},
    {"ZMStartup", {"engine"}},
    {"ZMShutdown", {}},
    {"ZMSendMessage", {"message"}},
    {"ZMExplorerOpen", {}},
    {"ZMExplorerClose", {}},
    {"ZMExplorerActivate", {}},
    {"ZMExplorerDeactivate", {}},
    {"ZMInspectorOpen", {}},
    {"ZMInspectorClose", {}},
    {"ZMInspectorActivate", {}},
    {"ZMInspectorDeactivate", {}},
    {"ZMButtonAction", {"buttonId", "cancelDefault"}},
    {"ZMMenuAction", {"menuId", "cancelDefault"}},
    {"ZMHotkeyAction", {"lp"}},
    {"ZMItemEvent", {"selector", "cancel", "item"}},
    {"Measure", {"label"}},
    {"Invoke", {"object", "member", "flags", "args"}},
    {"BareGetPut", {"property", "item"}},
};

const std::set<std::string> kItemMembers = {"id",   "type",     "submitted", "subject",
                                            "body", "htmlbody", "rtfbody",   "format"};

std::u16string Text(const json& value, const std::string& where) {
    if (std::optional<std::u16string> units = UnitsText(value)) return *units;
    if (!value.is_string())
        throw ScenarioError(where + " must be a string or {\"units\": [UTF-16 code units]}");
    return FromUtf8(value.get<std::string>());
}

long Number(const json& value, const std::string& where) {
    if (!value.is_number_integer() || value.get<long long>() < LONG_MIN ||
        value.get<long long>() > LONG_MAX)
        throw ScenarioError(where + " must be a 32-bit integer");
    return static_cast<long>(value.get<long long>());
}

bool Boolean(const json& value, const std::string& where) {
    if (!value.is_boolean()) throw ScenarioError(where + " must be true or false");
    return value.get<bool>();
}

ScenarioItem ParseItem(const json& item, const std::string& where, std::set<std::string>& ids) {
    const Extension* extension = InstalledExtension();
    std::set<std::string> members = kItemMembers;
    if (extension) members.merge(extension->ItemMembers());
    CheckMembers(item, members, where);
    ScenarioItem wanted;
    if (item.contains("id")) {
        if (!item["id"].is_string()) throw ScenarioError(where + ".id must be a string");
        wanted.id = item["id"].get<std::string>();
        wanted.reused = !ids.insert(*wanted.id).second;
        if (wanted.reused && item.size() != 1)
            throw ScenarioError(where + " reuses item \"" + *wanted.id +
                                "\" and may not describe it again");
    }
    wanted.type = u"_MailItem";
    if (item.contains("type")) {
        if (item["type"].is_null())
            wanted.type.reset();
        else
            wanted.type = Text(item["type"], where + ".type");
    }
    if (item.contains("submitted")) {
        const json& submitted = item["submitted"];
        if (submitted.is_object() || submitted.is_array())
            throw ScenarioError(where + ".submitted must be a plain value");
        wanted.submitted = submitted;
    }
    const std::pair<const char*, std::u16string ScenarioItem::*> texts[] = {
        {"subject", &ScenarioItem::subject},
        {"body", &ScenarioItem::body},
        {"htmlbody", &ScenarioItem::htmlBody},
        {"rtfbody", &ScenarioItem::rtfBody},
        {"format", &ScenarioItem::format}};
    for (const auto& [name, field] : texts)
        if (item.contains(name)) wanted.*field = Text(item[name], where + "." + name);
    if (extension) extension->ParseItem(item, where, wanted);
    return wanted;
}

Step ParseStep(const json& step, const std::string& where, std::set<std::string>& ids) {
    if (!step.is_object() || !step.contains("call") || !step["call"].is_string())
        throw ScenarioError(where + " must be an object with a \"call\" string");
    Step parsed;
    parsed.call = step["call"].get<std::string>();
    const auto call = kCalls.find(parsed.call);
    if (call == kCalls.end()) throw ScenarioError(where + " calls unknown member " + parsed.call);
    std::set<std::string> allowed = call->second;
    allowed.insert("call");
    allowed.insert("repeat");
    CheckMembers(step, allowed, where);
    if (step.contains("repeat")) {
        parsed.repeat = Number(step["repeat"], where + ".repeat");
        if (parsed.repeat < 1) throw ScenarioError(where + ".repeat must be at least 1");
    }
    if (step.contains("label")) parsed.label = WideToUtf8(Text(step["label"], where + ".label"));
    if (parsed.call == "Invoke") {
        CheckRawInvoke(step, where);
        parsed.invoke = step;
    }

    parsed.engine = "A";
    if (step.contains("engine")) {
        if (step["engine"].is_null())
            parsed.engine.reset();
        else if (step["engine"].is_string() && !step["engine"].get<std::string>().empty())
            parsed.engine = step["engine"].get<std::string>();
        else
            throw ScenarioError(where + ".engine must be a name or null");
    }
    if (step.contains("selector")) parsed.selector = Number(step["selector"], where + ".selector");
    if (step.contains("cancel")) parsed.cancel = Boolean(step["cancel"], where + ".cancel");
    if (step.contains("cancelDefault"))
        parsed.cancelDefault = Boolean(step["cancelDefault"], where + ".cancelDefault");
    for (const char* name : {"buttonId", "menuId", "lp"})
        if (step.contains(name)) parsed.number = Number(step[name], where + "." + name);
    if (step.contains("message")) parsed.message = Text(step["message"], where + ".message");
    if (parsed.call == "BareGetPut") {
        const json property = step.value("property", json());
        if (property != "Subject" && property != "Body" && property != "HTMLBody" &&
            property != "RTFBody")
            throw ScenarioError(where +
                                " needs a \"property\" of Subject, Body, HTMLBody or RTFBody");
        parsed.property = quillmark::windows::ToWide(FromUtf8(property.get<std::string>()));
    }
    if (parsed.call == "ZMItemEvent" || parsed.call == "BareGetPut") {
        if (!step.contains("item"))
            throw ScenarioError(where + " needs an \"item\" (null for none)");
        if (!step["item"].is_null()) parsed.item = ParseItem(step["item"], where + ".item", ids);
    }
    return parsed;
}

// One entry of "fail": an operation's name, or {"point": NAME, "call": N, "hresult": "0x…",
// "answer": VALUE} (see Fault).
Fault ParseFault(const json& entry, const std::string& where) {
    const json* point = &entry;
    Fault fault("");
    if (entry.is_object()) {
        CheckMembers(entry, {"point", "call", "hresult", "answer"}, where);
        if (!entry.contains("point")) throw ScenarioError(where + " needs a \"point\"");
        point = &entry["point"];
        if (entry.contains("call")) {
            fault.call = Number(entry["call"], where + ".call");
            if (fault.call < 1) throw ScenarioError(where + ".call must be at least 1");
        }
        HRESULT parsed;
        if (entry.contains("hresult")) {
            if (!ParseHresult(entry["hresult"], &parsed))
                throw ScenarioError(where +
                                    ".hresult must be an HRESULT in hexadecimal, such as "
                                    "\"0x8007000E\"");
            if (parsed != quillmark::testing::kInjectedFailure) fault.code = parsed;
        }
        if (entry.contains("answer")) {
            const json& value = entry["answer"];
            if (!value.is_null() && value != "empty" && value != "nothing" &&
                !(value.is_object() && value.size() == 1 &&
                  ParseHresult(value.value("error", json()), &parsed)))
                throw ScenarioError(where +
                                    ".answer must be null, \"empty\", \"nothing\" or "
                                    "{\"error\": HRESULT}, the HRESULT in hexadecimal");
            fault.answer = value.dump();
        }
    }
    if (!point->is_string() || !quillmark::testing::IsFaultPoint(point->get<std::string>()))
        throw ScenarioError("fail names an unknown operation: " + point->dump());
    fault.point = point->get<std::string>();
    if (fault.answer && fault.point.rfind("safeitem.", 0) != 0)
        throw ScenarioError(where + ": only the safe mail item's properties answer values");
    return fault;
}

// A setting's value: text, stored as the automation runtime stores it, or a value of its kind.
RawValue SettingValue(const json& value, const std::string& where) {
    if (value.is_object() && value.contains("type")) return ParseRawValue(value, where);
    return TextValue(Text(value, where));
}

// {"machine": {NAME: VALUE}, "user": {...}}, each VALUE as in settings.values.
void ParsePolicies(const json& policies, Scenario& scenario) {
    CheckMembers(policies, {"machine", "user"}, "settings.policies");
    for (const auto& [scope, values] : policies.items()) {
        const std::string where = "settings.policies." + scope;
        if (!values.is_object()) throw ScenarioError(where + " must be an object");
        auto& parsed = scope == "machine" ? scenario.machinePolicies : scenario.userPolicies;
        for (const auto& [name, value] : values.items())
            parsed[FromUtf8(name)] = SettingValue(value, where + "." + name);
    }
}

}  // namespace

void CheckMembers(const json& object, const std::set<std::string>& allowed,
                  const std::string& where) {
    if (!object.is_object()) throw ScenarioError(where + " must be an object");
    for (const auto& [name, value] : object.items())
        if (!allowed.count(name))
            throw ScenarioError(where + " has an unknown member \"" + name + "\"");
}

Scenario ParseScenario(const json& document) {
    // "description" says what the scenario shows; the host does not read it.
    CheckMembers(document, {"description", "settings", "fail", "steps", "apartments"},
                 "the scenario");
    Scenario scenario;
    if (document.contains("settings")) {
        const json& settings = document["settings"];
        CheckMembers(settings, {"reset", "values", "policies"}, "settings");
        if (settings.contains("reset"))
            scenario.resetSettings = Boolean(settings["reset"], "settings.reset");
        if (settings.contains("values")) {
            if (!settings["values"].is_object())
                throw ScenarioError("settings.values must be an object");
            for (const auto& [name, value] : settings["values"].items()) {
                std::optional<RawValue> parsed;
                if (!value.is_null()) parsed = SettingValue(value, "settings.values." + name);
                scenario.settings[FromUtf8(name)] = parsed;
            }
        }
        if (settings.contains("policies")) ParsePolicies(settings["policies"], scenario);
    }
    if (document.contains("fail")) {
        if (!document["fail"].is_array()) throw ScenarioError("fail must be a list");
        for (size_t i = 0; i < document["fail"].size(); ++i)
            scenario.failing.push_back(
                ParseFault(document["fail"][i], "fail entry " + std::to_string(i + 1)));
    }
    if (document.contains("apartments")) {
        scenario.apartments = Number(document["apartments"], "apartments");
        if (scenario.apartments < 1 || scenario.apartments > 8)
            throw ScenarioError("apartments must be from 1 to 8");
    }
    if (!document.contains("steps") || !document["steps"].is_array())
        throw ScenarioError("the scenario needs a \"steps\" list");
    std::set<std::string> ids;
    for (size_t i = 0; i < document["steps"].size(); ++i)
        scenario.steps.push_back(
            ParseStep(document["steps"][i], "step " + std::to_string(i + 1), ids));
    return scenario;
}

}  // namespace standin
