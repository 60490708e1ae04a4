#pragma once

// What a program built on the stand-in host may add to it; quillmark-host itself adds nothing.
// The benchmark driver (bench/host) measures every call on the module and fills items with large
// generated texts. An extension installs itself while its program starts, before any scenario
// is read. A repeated step's runs are compared report against report, figures included, so the
// driver does not repeat the steps it measures.

#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <string>

namespace standin {

struct ScenarioItem;

// Measures one call on the module, from its creation just before the call.
class CallMeter {
  public:
    virtual ~CallMeter() = default;
    // Adds the call's figures to its step's report, just after the call.
    virtual void Describe(nlohmann::ordered_json& step) const = 0;
};

class Extension {
  public:
    // The members an item of a scenario may have besides the host's own.
    virtual std::set<std::string> ItemMembers() const = 0;
    // Applies those members to the item once the host's own are read; throws ScenarioError
    // when they are malformed.
    virtual void ParseItem(const nlohmann::json& item, const std::string& where,
                           ScenarioItem& wanted) const = 0;
    // A meter for the call about to be made on the module.
    virtual std::unique_ptr<CallMeter> MeasureCall() const = 0;

  protected:
    ~Extension() = default;
};

// The extension of this program, null when it has none.
inline const Extension*& InstalledExtension() {
    static const Extension* installed = nullptr;
    return installed;
}

}  // namespace standin
