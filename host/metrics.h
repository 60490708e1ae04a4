#pragma once

// What the host process holds, for telling whether the module leaks over a long run: its private
// committed memory, its open handles and the host's objects still alive.
//
// Wine's GetProcessMemoryInfo (PrivateUsage) and GetProcessHandleCount answer 0, so the private
// bytes are summed over the address space with VirtualQuery, and the handles are counted by
// asking GetHandleInformation about every small handle value.

#include <nlohmann/json.hpp>
#include <string>

namespace standin {

// A "Measure" step: how far the figures moved since the first Measure of the run in this
// apartment, and the objects alive now.
nlohmann::ordered_json Measure(const std::string& label);

// After the host released the module: the objects still alive and what the DLL's DllCanUnloadNow
// answers.
nlohmann::ordered_json AfterRun();

}  // namespace standin
