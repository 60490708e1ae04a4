#include "raw_invoke.h"

#include <map>
#include <vector>

#include "automation_object.h"
#include "base/text.h"
#include "engine_library.h"
#include "json_text.h"
#include "scenario.h"

namespace standin {

namespace {

using json = nlohmann::ordered_json;

const std::map<std::string, VARTYPE> kTypes = {
    {"EMPTY", VT_EMPTY}, {"NULL", VT_NULL},         {"I4", VT_I4},       {"BOOL", VT_BOOL},
    {"BSTR", VT_BSTR},   {"DISPATCH", VT_DISPATCH}, {"ERROR", VT_ERROR},
};

const std::map<std::string, WORD> kFlags = {
    {"method", DISPATCH_METHOD},
    {"get", DISPATCH_PROPERTYGET},
};

void CheckArgument(const nlohmann::json& argument, const std::string& where) {
    CheckMembers(argument, {"vt", "value", "byref"}, where);
    if (!argument.contains("vt") || !argument["vt"].is_string() ||
        !kTypes.count(argument["vt"].get<std::string>()))
        throw ScenarioError(where +
                            " needs a \"vt\" of EMPTY, NULL, I4, BOOL, BSTR, DISPATCH or "
                            "ERROR");
    const VARTYPE type = kTypes.at(argument["vt"].get<std::string>());
    const nlohmann::json value = argument.value("value", nlohmann::json());
    HRESULT code;
    const bool fits = (type == VT_EMPTY || type == VT_NULL) ? value.is_null()
                      : type == VT_BSTR                     ? value.is_null() || value.is_string()
                      : type == VT_DISPATCH                 ? value.is_null() || value == "engine"
                      : type == VT_ERROR                    ? ParseHresult(value, &code)
                                                            : value.is_number_integer();
    if (!fits) throw ScenarioError(where + ".value does not fit its vt");
    if (argument.contains("byref") &&
        (!argument["byref"].is_boolean() || (argument["byref"] == true && type <= VT_NULL)))
        throw ScenarioError(where + ".byref must be true or false, and not for EMPTY or NULL");
}

// One argument: the value it stands for, and what is passed (the value or a reference to it).
struct Argument {
    UniqueVariant value;
    VARIANT passed;
};

void MakeArgument(const nlohmann::json& scenarioArgument, Argument& argument) {
    VARIANT& value = argument.value.Get();
    const VARTYPE type = kTypes.at(scenarioArgument["vt"].get<std::string>());
    const nlohmann::json given = scenarioArgument.value("value", nlohmann::json());
    switch (type) {
        case VT_I4:
            V_I4(&value) = static_cast<LONG>(given.get<long long>());
            break;
        case VT_BOOL:  // the number as given, so that values other than true and false go too
            V_BOOL(&value) = static_cast<VARIANT_BOOL>(given.get<long long>());
            break;
        case VT_ERROR:
            ParseHresult(given, &V_ERROR(&value));
            break;
        case VT_BSTR:
            V_BSTR(&value) = given.is_null()
                                 ? nullptr
                                 : MakeBstr(quillmark::FromUtf8(given.get<std::string>())).Detach();
            break;
        case VT_DISPATCH:
            V_DISPATCH(&value) = given.is_null() ? nullptr : MakeObject<EngineObject>("A").Detach();
            break;
        default:
            break;
    }
    V_VT(&value) = type;
    argument.passed = value;
    if (scenarioArgument.value("byref", false)) {
        V_VT(&argument.passed) = type | VT_BYREF;
        V_BYREF(&argument.passed) = &V_I4(&value);  // every member of the value starts here
    }
}

json Describe(const VARIANT& value) {
    std::string name = "?";
    for (const auto& [text, type] : kTypes)
        if (type == V_VT(&value)) name = text;
    json described = {{"vt", name}};
    switch (V_VT(&value)) {
        case VT_I4:
            described["value"] = V_I4(&value);
            break;
        case VT_BOOL:
            described["value"] = V_BOOL(&value);
            break;
        case VT_ERROR:
            described["value"] = HresultText(V_ERROR(&value));
            break;
        case VT_BSTR:
            described["value"] =
                V_BSTR(&value) ? json(WideToUtf8(BstrText(V_BSTR(&value)))) : json();
            break;
        case VT_DISPATCH:
            described["value"] = V_DISPATCH(&value) ? json("object") : json();
            break;
        default:
            break;
    }
    return described;
}

ComPtr<IDispatch> Target(IModuleAPI* module, const std::string& name) {
    ComPtr<IDispatch> object;
    if (name == "module") {
        object = ComPtr<IDispatch>(static_cast<IDispatch*>(module));
    } else if (name == "default") {
        module->QueryInterface(IID_IDispatch, object.ReceiveVoid());
    } else {
        CLSID clsid;
        if (SUCCEEDED(CLSIDFromProgID(L"Quillmark.CTimeZone", &clsid)))
            CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                             object.ReceiveVoid());
    }
    return object;
}

}  // namespace

HRESULT InvokeByName(IDispatch* object, std::wstring name, WORD flags, DISPPARAMS& params,
                     VARIANT* result, EXCEPINFO* exception) {
    LPOLESTR names[] = {name.data()};
    DISPID id = DISPID_UNKNOWN;
    const HRESULT code = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(code)) return code;
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, exception,
                          nullptr);
}

void CheckRawInvoke(const nlohmann::json& step, const std::string& where) {
    const std::string object = step.value("object", std::string("module"));
    if (object != "module" && object != "default" && object != "timezone")
        throw ScenarioError(where + ".object must be \"module\", \"default\" or \"timezone\"");
    if (!step.contains("member") || !step["member"].is_string())
        throw ScenarioError(where + " needs a \"member\" string");
    if (step.contains("flags") &&
        (!step["flags"].is_string() || !kFlags.count(step["flags"].get<std::string>())))
        throw ScenarioError(where + ".flags must be \"method\" or \"get\"");
    if (step.contains("args") && !step["args"].is_array())
        throw ScenarioError(where + ".args must be a list");
    for (size_t i = 0; i < step.value("args", nlohmann::json::array()).size(); ++i)
        CheckArgument(step["args"][i], where + ".args[" + std::to_string(i) + "]");
}

json RawInvoke(IModuleAPI* module, const nlohmann::json& step) {
    json report = {{"call", "Invoke"}};
    ComPtr<IDispatch> object = Target(module, step.value("object", std::string("module")));
    if (!object) {
        report["hresult"] = HresultText(E_NOINTERFACE);
        return report;
    }
    const nlohmann::json given = step.value("args", nlohmann::json::array());
    std::vector<Argument> arguments(given.size());
    std::vector<VARIANT> reversed(given.size());  // IDispatch takes its arguments last first
    for (size_t i = 0; i < given.size(); ++i) {
        MakeArgument(given[i], arguments[i]);
        reversed[given.size() - 1 - i] = arguments[i].passed;
    }
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    UniqueVariant result;
    UniqueExceptionInfo exception;
    const HRESULT code = InvokeByName(
        object.Get(),
        quillmark::windows::ToWide(quillmark::FromUtf8(step["member"].get<std::string>())),
        kFlags.at(step.value("flags", std::string("method"))), params, result.Receive(),
        exception.Receive());
    report["hresult"] = HresultText(code);
    if (code == DISP_E_EXCEPTION && exception.Get().bstrDescription)
        report["error"] = WideToUtf8(BstrText(exception.Get().bstrDescription));
    if (SUCCEEDED(code)) report["result"] = Describe(result.Get());
    json after = json::array();
    for (Argument& argument : arguments) after.push_back(Describe(argument.value.Get()));
    report["args"] = after;
    return report;
}

}  // namespace standin
