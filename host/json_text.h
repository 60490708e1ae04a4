#pragma once

// Text at the host's boundaries: JSON is UTF-8, COM strings and the fakes' text UTF-16.

#include <ole2.h>
#include <windows.h>

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace standin {

// A lone surrogate becomes U+FFFD.
std::string WideToUtf8(std::wstring_view text);
std::string WideToUtf8(std::u16string_view text);

// Text that is not clean UTF-16 (a lone surrogate) cannot travel in a JSON string; scenarios and
// reports give such text as {"units": [code unit, ...]}.
// The text value spells that way, or none.
std::optional<std::u16string> UnitsText(const nlohmann::json& value);
// Text longer than `longest` units is reported as {"length": N}.
nlohmann::json TextReport(std::u16string_view text, std::size_t longest = SIZE_MAX);
// Item texts and trace lines of the benchmarks run to megabytes; beyond this, only their length
// is worth printing.
constexpr std::size_t kLongestItemText = std::size_t{1} << 18;

// "0x8000FFFF": how reports spell an HRESULT.
std::string HresultText(HRESULT code);
// Reads that spelling into *code; false when value is not one.
bool ParseHresult(const nlohmann::json& value, HRESULT* code);

// The description of the error the last failed call on this thread raised, empty when it raised
// none; the error information is taken, so it is gone afterwards.
std::u16string TakeErrorDescription();

// Stores a new BSTR holding text in *out, as an [out] argument receives it.
HRESULT ReturnText(std::u16string_view text, BSTR* out);

}  // namespace standin
