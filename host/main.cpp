// quillmark-host: the stand-in for the Outlook add-in host. It creates the module through COM,
// runs the steps of one scenario on it and prints what the module did as one JSON document.
//
//   quillmark-host.exe SCENARIO.json   runs a scenario (exit 0 when it ran, whatever the module
//                                      did; 2 when the scenario is malformed; 3 when the module
//                                      is not registered; 4 when the host itself failed)
//   quillmark-host.exe --register      registers the stand-in type libraries and the mail helper
//                                      library's programmatic identifiers

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <exception>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "automation_object.h"
#include "class_registrations.h"
#include "engine.h"
#include "engine_library.h"
#include "json_text.h"
#include "mailhelper.h"
#include "metrics.h"
#include "record.h"
#include "runner.h"
#include "scenario.h"
#include "settings_section.h"
#include "type_libraries.h"

namespace standin {
namespace {

using json = nlohmann::ordered_json;
using quillmark::testing::EventLine;
using quillmark::testing::LogLine;
using quillmark::testing::Subscription;
using quillmark::testing::TraceLine;

constexpr wchar_t kModuleProgId[] = L"Quillmark.CQuillmark";

// A failure that ends the run with a one-line message and an exit code.
struct Stop {
    int exitCode;
    std::string message;
};

nlohmann::json ReadJson(const wchar_t* path) {
    const std::unique_ptr<FILE, int (*)(FILE*)> file(_wfopen(path, L"rb"), &fclose);
    if (!file) throw Stop{2, "cannot open " + WideToUtf8(path)};
    try {
        return nlohmann::json::parse(file.get());
    } catch (const nlohmann::json::exception& error) {
        throw Stop{2, WideToUtf8(path) + " is not JSON: " + error.what()};
    }
}

// Ends the run with exitCode and "what: HRESULT" when result is a failure.
void StopOnFailure(HRESULT result, int exitCode, const std::string& what) {
    if (FAILED(result)) throw Stop{exitCode, what + ": " + HresultText(result)};
}

// Owns the thread's membership in a single-threaded apartment, as the host's UI thread has.
class Apartment {
  public:
    Apartment() {
        StopOnFailure(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), 4,
                      "CoInitializeEx failed");
    }
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;
    ~Apartment() { CoUninitialize(); }
};

// Creates the module as the host does: its class by ProgID, the class factory, IModuleAPI.
ComPtr<IModuleAPI> CreateModule() {
    CLSID clsid;
    StopOnFailure(CLSIDFromProgID(kModuleProgId, &clsid), 3,
                  "Quillmark.CQuillmark is not registered");
    ComPtr<IClassFactory> factory;
    StopOnFailure(CoGetClassObject(clsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                   factory.ReceiveVoid()),
                  3, "the class factory of Quillmark.CQuillmark is not available");
    ComPtr<IUnknown> object;
    StopOnFailure(factory->CreateInstance(nullptr, IID_IUnknown, object.ReceiveVoid()), 4,
                  "creating CQuillmark failed");
    ComPtr<IModuleAPI> module;
    StopOnFailure(object.As(module), 4, "CQuillmark has no IModuleAPI");
    return module;
}

void PrepareSettings(const Scenario& scenario) {
    const SettingsSection section;
    if (scenario.resetSettings) section.Reset();
    for (const auto& [name, value] : scenario.settings) {
        if (value)
            section.Write(name, *value);
        else
            section.Delete(name);
    }
    // A scenario states the policies in force; none lingers from an earlier run.
    for (const bool machine : {true, false}) {
        const SettingsSection policies = SettingsSection::Policies(machine);
        policies.Reset();
        for (const auto& [name, value] : machine ? scenario.machinePolicies : scenario.userPolicies)
            policies.Write(name, value);
    }
}

json SectionReport(const SettingsSection& section) {
    json values = json::object();
    for (const auto& [name, value] : section.Read()) values[WideToUtf8(name)] = TextReport(value);
    return values;
}

json Describe(const HostRecord& record) {
    json trace = json::array(), log = json::array(), events = json::array(),
         subscriptions = json::array(), objects = json::object();
    for (const TraceLine& line : record.trace)
        trace.push_back({{"engine", line.engine},
                         {"fromModule", line.fromModule},
                         {"source", WideToUtf8(line.source)},
                         {"message", TextReport(line.message, kLongestItemText)}});
    for (const LogLine& line : record.log)
        log.push_back({{"message", WideToUtf8(line.message)},
                       {"level", line.level},
                       {"source", WideToUtf8(line.source)}});
    for (const EventLine& event : record.events)
        events.push_back({{"application", WideToUtf8(event.application)},
                          {"procedure", WideToUtf8(event.procedure)},
                          {"message", WideToUtf8(event.message)},
                          {"level", event.level}});
    for (const Subscription& subscription : record.subscriptions)
        subscriptions.push_back({{"engine", subscription.engine},
                                 {"fromModule", subscription.fromModule},
                                 {"selector", subscription.selector},
                                 {"entry", WideToUtf8(subscription.entry)},
                                 {"store", WideToUtf8(subscription.store)}});
    for (const auto& [name, count] : record.objects)
        objects[name] = {{"created", count.created}, {"alive", count.alive}};
    return {{"trace", trace},
            {"log", log},
            {"events", events},
            {"subscriptions", subscriptions},
            {"cleanups", record.cleanups},
            {"registryAppNameCalls", record.registryAppNameCalls},
            {"settings", SectionReport(SettingsSection())},
            {"policies",
             {{"machine", SectionReport(SettingsSection::Policies(true))},
              {"user", SectionReport(SettingsSection::Policies(false))}}},
            {"objects", objects}};
}

// Runs the steps on a module object of this thread's own, in an apartment of its own. The record
// outlives the apartment, whose end may release the last of the host's objects.
json RunInApartment(const Scenario& scenario, const std::string& engineSuffix) {
    HostRecord record;
    record.registryAppName = kRegistryAppName;
    RecordScope scope(record);
    Apartment apartment;
    ClassRegistrations classes;
    classes.RegisterAll();
    ComPtr<IModuleAPI> module = CreateModule();
    ComPtr<IUnknown> identity;
    module.As(identity);
    scope.SetModule(identity.Get());
    record.failing = scenario.failing;

    Runner runner(module, engineSuffix);
    module.Reset();
    identity.Reset();
    json steps = json::array();
    for (const Step& step : scenario.steps) steps.push_back(runner.RunRepeated(step));
    runner.ReleaseAll();
    record.failing.clear();
    scope.SetModule(nullptr);
    json output = Describe(record);
    output["steps"] = steps;
    output["afterRun"] = AfterRun();
    return output;
}

// A scenario with several apartments runs them at the same time, each on a thread of its own,
// and reports them in order; an apartment whose run failed reports {"failure": message}.
json RunScenario(const wchar_t* path) {
    Scenario scenario;
    try {
        scenario = ParseScenario(ReadJson(path));
    } catch (const ScenarioError& error) {
        throw Stop{2, error.what()};
    }
    PrepareSettings(scenario);
    if (scenario.apartments == 1) return RunInApartment(scenario, "");
    std::vector<json> reports(scenario.apartments);
    std::vector<std::thread> threads;
    for (int index = 0; index < scenario.apartments; ++index)
        threads.emplace_back([&, index] {
            const char suffix[] = {'@', static_cast<char>('1' + index), '\0'};
            try {
                reports[index] = RunInApartment(scenario, suffix);
            } catch (const Stop& stop) {
                reports[index] = {{"failure", stop.message}};
            } catch (const std::exception& error) {
                reports[index] = {{"failure", error.what()}};
            } catch (...) {
                reports[index] = {{"failure", "unknown"}};
            }
        });
    for (std::thread& thread : threads) thread.join();
    return {{"apartments", reports}};
}

void Register() {
    Apartment apartment;
    for (int resource : {kEngineLibraryResource, kMailHelperLibraryResource}) {
        ComPtr<ITypeLib> library;
        StopOnFailure(LoadTypeLibEx(EmbeddedLibraryPath(resource).c_str(), REGKIND_REGISTER,
                                    library.Receive()),
                      4, "registering type library " + std::to_string(resource) + " failed");
    }
    const std::pair<const wchar_t*, const CLSID*> progIds[] = {
        {kMapiUtilsProgId, &CLSID_QXMAPIUtils}, {kSafeMailItemProgId, &CLSID_QXSafeMailItem}};
    for (const auto& [progId, clsid] : progIds) {
        wchar_t text[40];
        StringFromGUID2(*clsid, text, 40);
        const std::wstring key = std::wstring(progId) + L"\\CLSID";
        const LSTATUS status =
            RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, text,
                            static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
        StopOnFailure(HRESULT_FROM_WIN32(status), 4,
                      "registering " + WideToUtf8(progId) + " failed");
    }
}

}  // namespace
}  // namespace standin

int wmain(int argc, wchar_t** argv) {
    using namespace standin;
    _setmode(_fileno(stdout), _O_BINARY);
    try {
        if (argc == 2 && std::wstring(argv[1]) == L"--register") {
            Register();
            return 0;
        }
        if (argc != 2 || argv[1][0] == L'-')
            throw Stop{2, "usage: quillmark-host.exe SCENARIO.json | --register"};
        const std::string text = RunScenario(argv[1]).dump(2, ' ', false) + "\n";
        fwrite(text.data(), 1, text.size(), stdout);
        fflush(stdout);
        return 0;
    } catch (const Stop& stop) {
        fprintf(stderr, "quillmark-host: %s\n", stop.message.c_str());
        return stop.exitCode;
    } catch (const std::exception& error) {
        fprintf(stderr, "quillmark-host: %s\n", error.what());
        return 4;
    }
}
