#pragma once

// What the host measures for benchmarks: each call's elapsed time and the memory it took at its
// peak, a baseline call that reads an item's property and writes it back unchanged through
// late-bound IDispatch as a client does, and large message texts generated from a few numbers,
// so that a scenario names a 50 MB body without holding it.

#include <ole2.h>
#include <windows.h>

#include <nlohmann/json.hpp>
#include <string>

namespace standin {

// Measures one call: elapsed microseconds from the performance counter, and the most memory the
// process held above what it held at the start. The peak is the process's peak resident size,
// reset at the start where the system allows (see PeakResetWorks).
class StepMeter {
  public:
    StepMeter();
    // Adds "elapsedMicroseconds" and "peakExtraBytes" to a step's report.
    void Describe(nlohmann::ordered_json& step) const;

  private:
    LARGE_INTEGER start_{};
    unsigned long long residentAtStart_ = 0;
};

// The process's memory for the report: its current and peak resident size in bytes and where
// the figures come from.
nlohmann::ordered_json DescribeProcessMemory();

// A generated text of about `bytes` bytes (UTF-16) in the shape of the field it fills: HTML for
// "htmlbody", RTF for "rtfbody", plain lines for "body" and "subject". With `marker`, an earlier
// message starts halfway through.
std::wstring GenerateText(const std::string& field, std::size_t bytes, bool marker);

// Reads the item's property through a fresh safe mail item, late-bound by name, and writes the
// value it read back unchanged: the least any stamper of that property must do.
HRESULT BareGetPut(IDispatch* item, const std::wstring& property);

}  // namespace standin
