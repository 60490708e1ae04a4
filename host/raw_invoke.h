#pragma once

// Raw calls on the component's objects with argument lists the scenario spells out, as a careless
// or hostile automation client would make them. The step's form and its report are described
// under "Invoke" in host/README.md.

#include <ole2.h>
#include <windows.h>

#include <nlohmann/json.hpp>
#include <string>

#include "engine.h"

namespace standin {

// Resolves name with GetIDsOfNames and calls it through IDispatch::Invoke, as a scripting client
// does.
HRESULT InvokeByName(IDispatch* object, std::wstring name, WORD flags, DISPPARAMS& params,
                     VARIANT* result, EXCEPINFO* exception);

// Throws ScenarioError when the step is not a well-formed raw call.
void CheckRawInvoke(const nlohmann::json& step, const std::string& where);

nlohmann::ordered_json RawInvoke(IModuleAPI* module, const nlohmann::json& step);

}  // namespace standin
