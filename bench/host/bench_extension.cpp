// What the benchmark driver adds to the stand-in host: each call's elapsed time and the memory
// it took at its peak, and large message texts generated from a few numbers, so that a scenario
// names a 50 MB body without holding it:
//
//   "item": { "generate": { "field": "htmlbody", "bytes": 26214400, "marker": true }, ... }
//
// fills `field` (subject, body, htmlbody, rtfbody) with about that many bytes (UTF-16) in its
// shape: HTML, RTF or plain lines; with `marker`, an earlier message starts halfway through.
// Every step's report gains "elapsedMicroseconds" (from the performance counter),
// "peakExtraBytes" (how far the process's peak resident size rose above its resident size at the
// start of the call) and "peakRestarted": whether the peak restarted at the call. Windows cannot
// restart it (then the peak is the process's); under Wine this program writes "5" to Linux's
// clear_refs of its own process.

#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "extension.h"
#include "sample_message.h"
#include "scenario.h"

namespace standin {

namespace {

using json = nlohmann::ordered_json;

struct Resident {
    unsigned long long current = 0, peak = 0;
};

// The process's resident size and its peak, from the system's process counters (Wine fills them
// from Linux's account of the process).
void ReadResident(Resident& resident) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        resident = {counters.WorkingSetSize, counters.PeakWorkingSetSize};
}

std::string ReadSmallFile(const std::string& path) {
    std::string text;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return text;
    char buffer[4096];
    for (size_t read; (read = fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, read);
    fclose(file);
    return text;
}

bool WriteFive(const std::string& path) {
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = fputs("5", file) >= 0;
    return fclose(file) == 0 && written;
}

// Linux's folder of this process under Wine's drive Z ("Z:\proc\PID\"), or empty when there is
// none (on Windows). Wine opens files in its server, so /proc/self is the server's; this process
// is the one running this executable whose peak resident size falls when its peak is restarted
// right after the process briefly took 16 MB more.
const std::string& OwnProcFolder() {
    static const std::string folder = [] {
        char path[MAX_PATH];
        std::string name(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
        name = name.substr(name.find_last_of("\\/") + 1);
        constexpr std::size_t kRise = std::size_t{16} << 20;
        if (void* block = VirtualAlloc(nullptr, kRise, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {
            std::memset(block, 1, kRise);
            VirtualFree(block, 0, MEM_RELEASE);
        }
        WIN32_FIND_DATAA found;
        const HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
        if (search == INVALID_HANDLE_VALUE) return std::string();
        std::string result;
        do {
            const std::string pid = found.cFileName;
            if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
            const std::string candidate = "Z:\\proc\\" + pid + "\\";
            if (ReadSmallFile(candidate + "cmdline").find(name) == std::string::npos) continue;
            Resident before, after;
            ReadResident(before);
            if (!WriteFive(candidate + "clear_refs")) continue;
            ReadResident(after);
            if (after.peak + kRise / 2 < before.peak) {
                result = candidate;
                break;
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return result;
    }();
    return folder;
}

// Restarts the peak resident size from the current one. Linux does so when "5" is written to the
// process's clear_refs; Windows has no such switch, and there the peak stays the process's.
bool ResetPeak() {
    return !OwnProcFolder().empty() && WriteFive(OwnProcFolder() + "clear_refs");
}

long long Ticks() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

class StepMeter : public CallMeter {
  public:
    StepMeter() : peakRestarted_(ResetPeak()) {
        Resident resident;
        ReadResident(resident);
        residentAtStart_ = resident.current;
        start_ = Ticks();
    }

    void Describe(json& step) const override {
        const long long elapsed = Ticks() - start_;
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        Resident resident;
        ReadResident(resident);
        step["elapsedMicroseconds"] = elapsed * 1'000'000 / frequency.QuadPart;
        step["peakExtraBytes"] =
            resident.peak > residentAtStart_ ? resident.peak - residentAtStart_ : 0ULL;
        step["peakRestarted"] = peakRestarted_;
    }

  private:
    bool peakRestarted_;
    unsigned long long residentAtStart_ = 0;
    long long start_ = 0;
};

class BenchExtension final : public Extension {
  public:
    std::set<std::string> ItemMembers() const override { return {"generate"}; }

    void ParseItem(const nlohmann::json& item, const std::string& where,
                   ScenarioItem& wanted) const override {
        if (!item.contains("generate")) return;
        using quillmark::bench::MessageKind;
        static const std::map<std::string, std::pair<std::u16string ScenarioItem::*, MessageKind>>
            kFields = {{"subject", {&ScenarioItem::subject, MessageKind::kPlain}},
                       {"body", {&ScenarioItem::body, MessageKind::kPlain}},
                       {"htmlbody", {&ScenarioItem::htmlBody, MessageKind::kHtml}},
                       {"rtfbody", {&ScenarioItem::rtfBody, MessageKind::kRtf}}};
        const nlohmann::json& generate = item["generate"];
        const std::string about = where + ".generate";
        if (!generate.is_object()) throw ScenarioError(about + " must be an object");
        for (const auto& [name, value] : generate.items())
            if (name != "field" && name != "bytes" && name != "marker")
                throw ScenarioError(about + " has an unknown member \"" + name + "\"");
        const nlohmann::json field = generate.value("field", nlohmann::json()),
                             bytes = generate.value("bytes", nlohmann::json()),
                             marker = generate.value("marker", nlohmann::json(false));
        if (!field.is_string() || !kFields.count(field) || !bytes.is_number_unsigned())
            throw ScenarioError(about + " needs a text \"field\" and a size in \"bytes\"");
        if (!marker.is_boolean()) throw ScenarioError(about + ".marker must be true or false");
        const auto& [member, kind] = kFields.at(field);
        wanted.*member = quillmark::bench::SampleMessage<char16_t>(kind, bytes.get<std::size_t>(),
                                                                   marker.get<bool>());
    }

    std::unique_ptr<CallMeter> MeasureCall() const override {
        return std::make_unique<StepMeter>();
    }
};

const BenchExtension kBench;
// Installed while the program starts, before its main function reads a scenario.
[[maybe_unused]] const bool kInstalled = (InstalledExtension() = &kBench, true);

}  // namespace

}  // namespace standin
