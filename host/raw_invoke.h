#pragma once

// Raw calls on the component's objects with argument lists the scenario spells out, as a careless
// or hostile automation client would make them:
//
//   { "call": "Invoke", "object": "module", "member": "ZMItemEvent", "flags": "method",
//     "args": [ { "vt": "I4", "value": 4, "byref": true }, { "vt": "NULL" } ] }
//
// "object": "module" (IModuleAPI's dispatch), "default" (the module's default interface) or
// "timezone" (a new CTimeZone). "member" goes through GetIDsOfNames and IDispatch::Invoke with
// "flags" "method" (the default) or "get". Arguments come in declaration order; "vt" is EMPTY,
// NULL, I4, BOOL, BSTR (null: a null BSTR), DISPATCH (null, or "engine": a new engine object) or
// ERROR ("0x80020004": the missing-argument mark); "byref" passes a reference to the value. The
// report gives the HRESULT, the exception's description, the result and every argument after
// the call.

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
