#include "text.h"

#include <cstdio>

#include "owners.h"

namespace standin {

std::wstring Utf8ToWide(std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring result(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, result.data(), length);
    return result;
}

std::string WideToUtf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, result.data(), length, nullptr, nullptr);
    return result;
}

bool IsUnitsText(const nlohmann::json& value) {
    if (!value.is_object() || value.size() != 1 || !value.contains("units") ||
        !value["units"].is_array())
        return false;
    for (const nlohmann::json& unit : value["units"])
        if (!unit.is_number_integer() || unit.get<long long>() < 0 ||
            unit.get<long long>() > 0xFFFF)
            return false;
    return true;
}

std::wstring UnitsText(const nlohmann::json& value) {
    std::wstring text;
    for (const nlohmann::json& unit : value["units"])
        text.push_back(static_cast<wchar_t>(unit.get<long long>()));
    return text;
}

nlohmann::json TextReport(std::wstring_view text, std::size_t longest) {
    if (text.size() > longest) return {{"length", text.size()}};
    bool clean = true;
    for (size_t i = 0; i < text.size() && clean; ++i) {
        const wchar_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
            ++i;
        else if (unit >= 0xD800 && unit <= 0xDFFF)
            clean = false;
    }
    if (clean) return WideToUtf8(text);
    nlohmann::json units = nlohmann::json::array();
    for (const wchar_t unit : text) units.push_back(static_cast<unsigned>(unit));
    return {{"units", units}};
}

std::string HresultText(HRESULT code) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(code));
    return text;
}

std::wstring TakeErrorDescription() {
    ComPtr<IErrorInfo> info;
    UniqueBstr description;
    if (GetErrorInfo(0, info.Receive()) == S_OK && info)
        info->GetDescription(description.Receive());
    return BstrText(description.Get());
}

HRESULT ReturnText(std::wstring_view text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace standin
