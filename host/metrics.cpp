#include "metrics.h"

#include <windows.h>

#include <cstdint>
#include <optional>

#include "json_text.h"
#include "record.h"

namespace standin {

namespace {

std::uint64_t PrivateBytes() {
    std::uint64_t total = 0;
    MEMORY_BASIC_INFORMATION region;
    for (const char* address = nullptr;
         VirtualQuery(address, &region, sizeof region) == sizeof region;) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= address) break;  // the top of the address space
        address = next;
    }
    return total;
}

long HandleCount() {
    // Handle values are multiples of 4; a process of this size stays far below this bound.
    constexpr std::uintptr_t kHighestProbed = 0x10000;
    long count = 0;
    DWORD flags;
    for (std::uintptr_t value = 4; value <= kHighestProbed; value += 4)
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
    return count;
}

nlohmann::ordered_json AliveObjects() {
    nlohmann::ordered_json alive = nlohmann::ordered_json::object();
    for (const auto& [name, count] : TheRecord().objects)
        if (count.alive) alive[name] = count.alive;
    return alive;
}

}  // namespace

nlohmann::ordered_json Measure(const std::string& label) {
    thread_local std::optional<std::pair<std::uint64_t, long>> first;
    const std::uint64_t bytes = PrivateBytes();
    const long handles = HandleCount();
    if (!first) first.emplace(bytes, handles);
    return {{"call", "Measure"},
            {"label", label},
            {"privateBytesGrowth", static_cast<long long>(bytes - first->first)},
            {"handlesGrowth", handles - first->second},
            {"alive", AliveObjects()}};
}

nlohmann::ordered_json AfterRun() {
    HRESULT canUnload = E_NOTIMPL;
    if (HMODULE dll = GetModuleHandleW(L"Quillmark.dll")) {
        using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();
        if (auto function = reinterpret_cast<CanUnloadNow>(
                reinterpret_cast<void (*)()>(GetProcAddress(dll, "DllCanUnloadNow"))))
            canUnload = function();
    }
    return {{"alive", AliveObjects()}, {"dllCanUnloadNow", HresultText(canUnload)}};
}

}  // namespace standin
