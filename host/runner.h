#pragma once

// Drives the module through IModuleAPI, one scenario step at a time, and describes what each call
// returned. The engines, items and windows it hands to the module are the host's own objects.

#include <windows.h>

#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "automation_object.h"
#include "engine.h"
#include "engine_library.h"
#include "outlook_items.h"
#include "scenario.h"

namespace standin {

class Runner {
  public:
    // engineSuffix follows the name of every engine this runner hands out ("A" becomes "A@2").
    explicit Runner(ComPtr<IModuleAPI> module, std::string engineSuffix = {})
        : module_(std::move(module)), engineSuffix_(std::move(engineSuffix)) {}

    nlohmann::ordered_json Run(const Step& step);
    // Runs the step as often as its "repeat" says. A repeated step reports its first run, how
    // many runs it made, how many of them reported something else than the first (and up to
    // three such reports), and the trace and log lines of all runs counted instead of listed.
    nlohmann::ordered_json RunRepeated(const Step& step);
    // Drops every reference the host holds: the module first, then its engines and items.
    void ReleaseAll();

  private:
    nlohmann::ordered_json Startup(const Step& step);
    nlohmann::ordered_json ItemEvent(const Step& step);
    nlohmann::ordered_json GetPut(const Step& step);
    IDispatch* Engine(const std::string& name);
    // The item the scenario describes, null for none.
    ComPtr<OutlookObject> Item(const std::optional<ScenarioItem>& given);

    ComPtr<IModuleAPI> module_;
    std::string engineSuffix_;
    std::map<std::string, ComPtr<EngineObject>> engines_;
    std::map<std::string, ComPtr<OutlookObject>> items_;
};

}  // namespace standin
