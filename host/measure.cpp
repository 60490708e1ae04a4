#include "measure.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "automation_object.h"
#include "class_registrations.h"
#include "json_text.h"
#include "sample_message.h"

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

std::string ReadSmallFile(const std::wstring& path) {
    std::string text;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return text;
    char buffer[4096];
    for (size_t read; (read = fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, read);
    fclose(file);
    return text;
}

bool WriteFive(const std::wstring& path) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return false;
    const bool written = fputs("5", file) >= 0;
    return fclose(file) == 0 && written;
}

// Linux's folder of this process under Wine's drive Z ("Z:\proc\PID\"), or empty when there is
// none (on Windows). Wine opens files in its server, so /proc/self is the server's; this process
// is the one running this executable whose peak resident size falls when its peak is restarted
// right after the process briefly took 16 MB more.
const std::wstring& OwnProcFolder() {
    static const std::wstring folder = [] {
        wchar_t path[MAX_PATH];
        std::wstring name(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
        name = name.substr(name.find_last_of(L"\\/") + 1);
        constexpr std::size_t kRise = std::size_t{16} << 20;
        if (void* block = VirtualAlloc(nullptr, kRise, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {
            std::memset(block, 1, kRise);
            VirtualFree(block, 0, MEM_RELEASE);
        }
        WIN32_FIND_DATAW found;
        const HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &found);
        if (search == INVALID_HANDLE_VALUE) return std::wstring();
        std::wstring result;
        do {
            const std::wstring pid = found.cFileName;
            if (pid.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
            const std::wstring candidate = L"Z:\\proc\\" + pid + L"\\";
            if (ReadSmallFile(candidate + L"cmdline").find(WideToUtf8(name)) == std::string::npos)
                continue;
            Resident before, after;
            ReadResident(before);
            if (!WriteFive(candidate + L"clear_refs")) continue;
            ReadResident(after);
            if (after.peak + kRise / 2 < before.peak) {
                result = candidate;
                break;
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
        return result;
    }();
    return folder;
}

// Restarts the peak resident size from the current one. Linux does so when "5" is written to the
// process's clear_refs; Windows has no such switch, and there the peak stays the process's.
bool ResetPeak() {
    return !OwnProcFolder().empty() && WriteFive(OwnProcFolder() + L"clear_refs");
}

long long Ticks() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

HRESULT InvokeByName(IDispatch* object, const wchar_t* name, WORD flags, DISPPARAMS& params,
                     VARIANT* result) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    HRESULT code = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    UniqueExceptionInfo exception;
    if (SUCCEEDED(code))
        code = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result,
                              exception.Receive(), nullptr);
    return code;
}

HRESULT PutByName(IDispatch* object, const wchar_t* name, VARIANT value) {
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &named, 1, 1};
    return InvokeByName(object, name, DISPATCH_PROPERTYPUT, params, nullptr);
}

}  // namespace

StepMeter::StepMeter() {
    ResetPeak();
    Resident resident;
    ReadResident(resident);
    residentAtStart_ = resident.current;
    QueryPerformanceCounter(&start_);
}

void StepMeter::Describe(json& step) const {
    const long long elapsed = Ticks() - start_.QuadPart;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    Resident resident;
    ReadResident(resident);
    step["elapsedMicroseconds"] = elapsed * 1'000'000 / frequency.QuadPart;
    step["peakExtraBytes"] =
        resident.peak > residentAtStart_ ? resident.peak - residentAtStart_ : 0ULL;
}

json DescribeProcessMemory() {
    Resident resident;
    ReadResident(resident);
    return {{"source", "GetProcessMemoryInfo"},
            {"residentBytes", resident.current},
            {"peakResidentBytes", resident.peak},
            {"peakResetsPerStep", ResetPeak()}};
}

std::wstring GenerateText(const std::string& field, std::size_t bytes, bool marker) {
    using quillmark::bench::MessageKind;
    const MessageKind kind = field == "htmlbody"  ? MessageKind::kHtml
                             : field == "rtfbody" ? MessageKind::kRtf
                                                  : MessageKind::kPlain;
    return quillmark::bench::SampleMessage<wchar_t>(kind, bytes, marker);
}

HRESULT BareGetPut(IDispatch* item, const std::wstring& property) {
    CLSID clsid;
    HRESULT code = CLSIDFromProgID(kSafeMailItemProgId, &clsid);
    ComPtr<IDispatch> safeItem;
    if (SUCCEEDED(code))
        code = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                safeItem.ReceiveVoid());
    VARIANT bound{};
    V_VT(&bound) = VT_DISPATCH;
    V_DISPATCH(&bound) = item;
    if (SUCCEEDED(code)) code = PutByName(safeItem.Get(), L"item", bound);
    UniqueVariant value;
    DISPPARAMS none{};
    if (SUCCEEDED(code))
        code = InvokeByName(safeItem.Get(), property.c_str(),
                            DISPATCH_PROPERTYGET | DISPATCH_METHOD, none, value.Receive());
    if (SUCCEEDED(code)) code = PutByName(safeItem.Get(), property.c_str(), value.Get());
    return code;
}

}  // namespace standin
