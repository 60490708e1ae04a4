#include "raw_invoke.h"

#include <cstdlib>
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
    {"EMPTY", VT_EMPTY}, {"NULL", VT_NULL}, {"I2", VT_I2},     {"I4", VT_I4},
    {"R8", VT_R8},       {"BOOL", VT_BOOL}, {"BSTR", VT_BSTR}, {"DISPATCH", VT_DISPATCH},
    {"ERROR", VT_ERROR},
};

const std::map<std::string, WORD> kFlags = {
    {"method", DISPATCH_METHOD},
    {"get", DISPATCH_PROPERTYGET},
    {"put", DISPATCH_PROPERTYPUT},
    {"methodget", DISPATCH_METHOD | DISPATCH_PROPERTYGET},
};

void CheckArgument(const nlohmann::json& argument, const std::string& where) {
    if (!argument.is_object() || !argument.contains("vt") || !argument["vt"].is_string() ||
        !kTypes.count(argument["vt"].get<std::string>()))
        throw ScenarioError(where +
                            " needs a \"vt\" of EMPTY, NULL, I2, I4, R8, BOOL, BSTR, "
                            "DISPATCH or ERROR");
    for (const auto& [name, value] : argument.items())
        if (name != "vt" && name != "value" && name != "byref")
            throw ScenarioError(where + " has an unknown member \"" + name + "\"");
    const VARTYPE type = kTypes.at(argument["vt"].get<std::string>());
    const nlohmann::json value = argument.value("value", nlohmann::json());
    const bool fits = (type == VT_EMPTY || type == VT_NULL) ? value.is_null()
                      : type == VT_BSTR                     ? value.is_null() || value.is_string()
                      : type == VT_DISPATCH                 ? value.is_null() || value == "engine"
                      : type == VT_ERROR                    ? value.is_string()
                      : type == VT_R8                       ? value.is_number()
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
        case VT_I2:
        case VT_BOOL:  // a VARIANT_BOOL is a SHORT in the same place
            V_I2(&value) = static_cast<SHORT>(given.get<long long>());
            break;
        case VT_I4:
            V_I4(&value) = static_cast<LONG>(given.get<long long>());
            break;
        case VT_R8:
            V_R8(&value) = given.get<double>();
            break;
        case VT_ERROR:
            V_ERROR(&value) =
                static_cast<SCODE>(std::strtoul(given.get<std::string>().c_str(), nullptr, 16));
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
        case VT_I2:
        case VT_BOOL:
            described["value"] = V_I2(&value);
            break;
        case VT_I4:
            described["value"] = V_I4(&value);
            break;
        case VT_R8:
            described["value"] = V_R8(&value);
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
                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
    LPOLESTR names[] = {name.data()};
    DISPID id = DISPID_UNKNOWN;
    const HRESULT code = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(code)) return code;
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, exception,
                          argumentError);
}

void CheckRawInvoke(const nlohmann::json& step, const std::string& where) {
    const std::string object = step.value("object", std::string("module"));
    if (object != "module" && object != "default" && object != "timezone")
        throw ScenarioError(where + ".object must be \"module\", \"default\" or \"timezone\"");
    if (step.contains("member") == step.contains("vtable"))
        throw ScenarioError(where + " needs either \"member\" or \"vtable\"");
    if (step.contains("member") && !step["member"].is_string())
        throw ScenarioError(where + ".member must be a string");
    if (step.contains("vtable") &&
        (!step["vtable"].is_number_integer() || step["vtable"] < 3 || step["vtable"] > 64))
        throw ScenarioError(where + ".vtable must be a slot number from 3 to 64");
    if (step.contains("flags") &&
        (!step["flags"].is_string() || !kFlags.count(step["flags"].get<std::string>())))
        throw ScenarioError(where + ".flags must be \"method\", \"get\", \"put\" or \"methodget\"");
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
    for (size_t i = 0; i < given.size(); ++i) MakeArgument(given[i], arguments[i]);

    SetErrorInfo(0, nullptr);
    HRESULT code;
    UniqueVariant result;
    UniqueExceptionInfo exception;
    UINT argumentError = ~0u;
    if (step.contains("vtable")) {
        std::vector<VARTYPE> types;
        std::vector<VARIANT*> pointers;
        for (Argument& argument : arguments) {
            types.push_back(V_VT(&argument.passed));
            pointers.push_back(&argument.passed);
        }
        VARIANT returned;
        VariantInit(&returned);
        code = DispCallFunc(object.Get(), step["vtable"].get<int>() * sizeof(void*), CC_STDCALL,
                            VT_ERROR, static_cast<UINT>(arguments.size()), types.data(),
                            pointers.data(), &returned);
        if (SUCCEEDED(code)) code = V_ERROR(&returned);
    } else {
        // IDispatch takes its arguments last first.
        std::vector<VARIANT> reversed;
        for (auto argument = arguments.rbegin(); argument != arguments.rend(); ++argument)
            reversed.push_back(argument->passed);
        const WORD flags = kFlags.at(step.value("flags", std::string("method")));
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS params{reversed.data(), flags == DISPATCH_PROPERTYPUT ? &named : nullptr,
                          static_cast<UINT>(reversed.size()),
                          flags == DISPATCH_PROPERTYPUT ? 1u : 0u};
        code = InvokeByName(
            object.Get(),
            quillmark::windows::ToWide(quillmark::FromUtf8(step["member"].get<std::string>())),
            flags, params, result.Receive(), exception.Receive(), &argumentError);
    }
    report["hresult"] = HresultText(code);
    if (code == DISP_E_EXCEPTION && exception.Get().bstrDescription) {
        report["error"] = WideToUtf8(BstrText(exception.Get().bstrDescription));
    } else if (FAILED(code)) {
        if (const std::u16string description = TakeErrorDescription(); !description.empty())
            report["error"] = WideToUtf8(description);
    }
    if ((code == DISP_E_TYPEMISMATCH || code == DISP_E_PARAMNOTFOUND) &&
        argumentError < arguments.size())
        report["argError"] =
            static_cast<int>(arguments.size() - 1 - argumentError);  // declaration order
    if (SUCCEEDED(code) && !step.contains("vtable")) report["result"] = Describe(result.Get());
    json after = json::array();
    for (Argument& argument : arguments) after.push_back(Describe(argument.value.Get()));
    report["args"] = after;
    return report;
}

}  // namespace standin
