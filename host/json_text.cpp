#include "json_text.h"

#include <cstdio>
#include <cstdlib>

#include "automation_object.h"

namespace standin {

std::string WideToUtf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, result.data(), length, nullptr, nullptr);
    return result;
}

std::string WideToUtf8(std::u16string_view text) {
    return WideToUtf8(
        std::wstring_view(reinterpret_cast<const wchar_t*>(text.data()), text.size()));
}

std::optional<std::u16string> UnitsText(const nlohmann::json& value) {
    if (!value.is_object() || value.size() != 1 || !value.contains("units") ||
        !value["units"].is_array())
        return std::nullopt;
    std::u16string text;
    for (const nlohmann::json& unit : value["units"]) {
        if (!unit.is_number_integer() || unit.get<long long>() < 0 ||
            unit.get<long long>() > 0xFFFF)
            return std::nullopt;
        text.push_back(static_cast<char16_t>(unit.get<long long>()));
    }
    return text;
}

nlohmann::json TextReport(std::u16string_view text, std::size_t longest) {
    if (text.size() > longest) return {{"length", text.size()}};
    bool clean = true;
    for (size_t i = 0; i < text.size() && clean; ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
            ++i;
        else if (unit >= 0xD800 && unit <= 0xDFFF)
            clean = false;
    }
    if (clean) return WideToUtf8(text);
    nlohmann::json units = nlohmann::json::array();
    for (const char16_t unit : text) units.push_back(static_cast<unsigned>(unit));
    return {{"units", units}};
}

std::string HresultText(HRESULT code) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(code));
    return text;
}

bool ParseHresult(const nlohmann::json& value, HRESULT* code) {
    if (!value.is_string()) return false;
    const std::string text = value.get<std::string>();
    char* end = nullptr;
    const unsigned long long parsed = std::strtoull(text.c_str(), &end, 16);
    if (text.empty() || *end != '\0' || parsed > 0xFFFFFFFFull) return false;
    *code = static_cast<HRESULT>(static_cast<unsigned long>(parsed));
    return true;
}

std::u16string TakeErrorDescription() {
    ComPtr<IErrorInfo> info;
    UniqueBstr description;
    if (GetErrorInfo(0, info.Receive()) == S_OK && info)
        info->GetDescription(description.Receive());
    return BstrText(description.Get());
}

HRESULT ReturnText(std::u16string_view text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                             static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace standin
