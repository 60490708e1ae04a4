#include "runner.h"

#include <cstdint>
#include <functional>

#include "bare_get_put.h"
#include "base/text.h"
#include "extension.h"
#include "json_text.h"
#include "metrics.h"
#include "raw_invoke.h"
#include "record.h"

namespace standin {

namespace {

using json = nlohmann::ordered_json;
using quillmark::testing::FakeOutlookItem;

// Makes one call on the module and describes it: its HRESULT and, when it failed, the
// description of its error; describeResult adds what a successful call returned.
json Call(const std::string& name, const std::function<HRESULT()>& call,
          const std::function<void(json&)>& describeResult) {
    SetErrorInfo(0, nullptr);
    const Extension* extension = InstalledExtension();
    const std::unique_ptr<CallMeter> meter = extension ? extension->MeasureCall() : nullptr;
    const HRESULT code = call();
    json step = {{"call", name}, {"hresult", HresultText(code)}};
    if (meter) meter->Describe(step);
    if (FAILED(code))
        step["error"] = WideToUtf8(TakeErrorDescription());
    else
        describeResult(step);
    return step;
}

json StatusCall(const std::string& name, const std::function<HRESULT(long*)>& call) {
    long status = -12345;
    return Call(
        name, [&] { return call(&status); }, [&](json& step) { step["result"] = status; });
}

json TextCall(const std::string& name, const std::function<HRESULT(BSTR*)>& call) {
    UniqueBstr value;
    return Call(
        name, [&] { return call(value.Receive()); },
        [&](json& step) { step["result"] = WideToUtf8(BstrText(value.Get())); });
}

// A scenario value as the automation value an Outlook property would hold.
UniqueVariant ToVariant(const json& value) {
    UniqueVariant result;
    VARIANT& variant = result.Get();
    if (value.is_boolean()) {
        V_VT(&variant) = VT_BOOL;
        V_BOOL(&variant) = value.get<bool>() ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (value.is_number_integer() && value.get<long long>() >= INT32_MIN &&
               value.get<long long>() <= INT32_MAX) {
        V_VT(&variant) = VT_I4;
        V_I4(&variant) = static_cast<LONG>(value.get<long long>());
    } else if (value.is_number()) {
        V_VT(&variant) = VT_R8;
        V_R8(&variant) = value.get<double>();
    } else if (value.is_string()) {
        V_BSTR(&variant) = MakeBstr(quillmark::FromUtf8(value.get<std::string>())).Detach();
        V_VT(&variant) = VT_BSTR;
    } else {
        V_VT(&variant) = VT_NULL;
    }
    return result;
}

json Content(const FakeOutlookItem& item) {
    return {{"subject", TextReport(item.subject, kLongestItemText)},
            {"body", TextReport(item.body, kLongestItemText)},
            {"htmlbody", TextReport(item.htmlBody, kLongestItemText)},
            {"rtfbody", TextReport(item.rtfBody, kLongestItemText)},
            {"saves", item.saves}};
}

}  // namespace

IDispatch* Runner::Engine(const std::string& name) {
    auto& engine = engines_[name];
    if (!engine) engine = MakeObject<EngineObject>(name + engineSuffix_);
    return engine.Get();
}

ComPtr<OutlookObject> Runner::Item(const std::optional<ScenarioItem>& given) {
    if (!given) return {};
    const ScenarioItem& wanted = *given;
    if (wanted.reused) return items_.at(*wanted.id);
    UniqueVariant submitted;
    if (wanted.submitted) submitted = ToVariant(*wanted.submitted);
    auto item =
        MakeObject<OutlookObject>(wanted.type, wanted.submitted ? &submitted.Get() : nullptr);
    FakeOutlookItem& content = item->Item();
    content.subject = wanted.subject;
    content.body = wanted.body;
    content.htmlBody = wanted.htmlBody;
    content.rtfBody = wanted.rtfBody;
    content.format = wanted.format;
    if (wanted.id) items_[*wanted.id] = item;
    return item;
}

json Runner::Startup(const Step& step) {
    // The engine goes by reference; whatever the module leaves in the argument is the host's.
    ComPtr<IDispatch> engine(step.engine ? Engine(*step.engine) : nullptr);
    return StatusCall("ZMStartup",
                      [&](long* status) { return module_->ZMStartup(engine.Address(), status); });
}

json Runner::ItemEvent(const Step& step) {
    ComPtr<OutlookObject> item = Item(step.item);
    ComPtr<IDispatch> argument(item.Get());
    long selector = step.selector;
    VARIANT_BOOL cancel = step.cancel ? VARIANT_TRUE : VARIANT_FALSE;
    UniqueBstr entry = MakeBstr(u""), store = MakeBstr(u"");
    json result = StatusCall("ZMItemEvent", [&](long* status) {
        return module_->ZMItemEvent(&selector, argument.Address(), &cancel, entry.Address(),
                                    store.Address(), status);
    });
    result["cancel"] = cancel != VARIANT_FALSE;
    if (item) result["item"] = Content(item->Item());
    return result;
}

json Runner::GetPut(const Step& step) {
    ComPtr<OutlookObject> item = Item(step.item);
    json result = Call(
        "BareGetPut", [&] { return BareGetPut(item.Get(), step.property); }, [](json&) {});
    if (item) result["item"] = Content(item->Item());
    return result;
}

json Runner::Run(const Step& step) {
    IModuleAPI* module = module_.Get();
    const std::string& call = step.call;
    if (call == "RegistryName")
        return TextCall(call, [&](BSTR* value) { return module->get_RegistryName(value); });
    if (call == "FriendlyName")
        return TextCall(call, [&](BSTR* value) { return module->get_FriendlyName(value); });
    if (call == "Version")
        return TextCall(call, [&](BSTR* value) { return module->get_Version(value); });
    if (call == "Measure") return Measure(step.label);
    if (call == "Invoke") return RawInvoke(module, step.invoke);
    if (call == "BareGetPut") return GetPut(step);
    if (call == "ZMStartup") return Startup(step);
    if (call == "ZMShutdown")
        return StatusCall(call, [&](long* status) { return module->ZMShutdown(status); });
    if (call == "ZMSendMessage") {
        UniqueBstr message = MakeBstr(step.message);
        return TextCall(
            call, [&](BSTR* result) { return module->ZMSendMessage(message.Address(), result); });
    }
    // The window events pass an Outlook window (explorer or inspector) of its type.
    using WindowEvent = HRESULT (STDMETHODCALLTYPE IModuleAPI::*)(IDispatch*, long*);
    const std::map<std::string, std::pair<WindowEvent, const char16_t*>> windowEvents = {
        {"ZMExplorerOpen", {&IModuleAPI::ZMExplorerOpen, u"_Explorer"}},
        {"ZMExplorerClose", {&IModuleAPI::ZMExplorerClose, u"_Explorer"}},
        {"ZMExplorerActivate", {&IModuleAPI::ZMExplorerActivate, u"_Explorer"}},
        {"ZMExplorerDeactivate", {&IModuleAPI::ZMExplorerDeactivate, u"_Explorer"}},
        {"ZMInspectorOpen", {&IModuleAPI::ZMInspectorOpen, u"_Inspector"}},
        {"ZMInspectorClose", {&IModuleAPI::ZMInspectorClose, u"_Inspector"}},
        {"ZMInspectorActivate", {&IModuleAPI::ZMInspectorActivate, u"_Inspector"}},
        {"ZMInspectorDeactivate", {&IModuleAPI::ZMInspectorDeactivate, u"_Inspector"}},
    };
    if (auto found = windowEvents.find(call); found != windowEvents.end()) {
        auto window = MakeObject<OutlookObject>(std::u16string(found->second.second), nullptr);
        return StatusCall(call, [&](long* status) {
            return (module->*found->second.first)(window.Get(), status);
        });
    }
    if (call == "ZMButtonAction" || call == "ZMMenuAction") {
        long id = step.number;
        VARIANT_BOOL cancelDefault = step.cancelDefault ? VARIANT_TRUE : VARIANT_FALSE;
        json result = StatusCall(call, [&](long* status) {
            return call == "ZMButtonAction" ? module->ZMButtonAction(&id, &cancelDefault, status)
                                            : module->ZMMenuAction(&id, &cancelDefault, status);
        });
        result["cancelDefault"] = cancelDefault != VARIANT_FALSE;
        return result;
    }
    if (call == "ZMHotkeyAction") {
        long lp = step.number;
        return StatusCall(call, [&](long* status) { return module->ZMHotkeyAction(&lp, status); });
    }
    return ItemEvent(step);  // the only call left; the scenario was checked when it was read
}

json Runner::RunRepeated(const Step& step) {
    if (step.repeat == 1) return Run(step);
    HostRecord& record = TheRecord();
    record.summarise = true;
    record.traceCounts.clear();
    record.logCounts.clear();
    json first = Run(step), others = json::array();
    long differing = 0;
    for (long run = 1; run < step.repeat; ++run) {
        json result = Run(step);
        if (result == first) continue;
        if (others.size() < 3) others.push_back(std::move(result));
        ++differing;
    }
    record.summarise = false;
    json trace = json::object(), log = json::object();
    for (const auto& [engine, count] : record.traceCounts) trace[engine] = count;
    for (const auto& [message, count] : record.logCounts) log[WideToUtf8(message)] = count;
    first["repeat"] = step.repeat;
    first["differing"] = differing;
    first["others"] = others;
    first["traceCounts"] = trace;
    first["logCounts"] = log;
    return first;
}

void Runner::ReleaseAll() {
    module_.Reset();
    engines_.clear();
    items_.clear();
}

}  // namespace standin
