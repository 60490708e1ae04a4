#include "settings_section.h"

#include <windows.h>

#include <stdexcept>
#include <utility>
#include <vector>

#include "automation_object.h"
#include "base/text.h"
#include "engine_library.h"
#include "json_text.h"
#include "scenario.h"

namespace standin {

namespace {

using quillmark::windows::FromWide;
using quillmark::windows::ToWide;
using quillmark::windows::WidePtr;

[[noreturn]] void Fail(const char* what, const std::wstring& path, LSTATUS status) {
    throw std::runtime_error(std::string(what) + " " + WideToUtf8(path) + " failed with error " +
                             std::to_string(status));
}

const std::map<std::string, DWORD> kValueTypes = {
    {"REG_SZ", REG_SZ},
    {"REG_EXPAND_SZ", REG_EXPAND_SZ},
    {"REG_BINARY", REG_BINARY},
    {"REG_DWORD", REG_DWORD},
};

std::string Hex(const BYTE* data, size_t size) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (size_t i = 0; i < size; ++i) {
        text.push_back(digits[data[i] >> 4]);
        text.push_back(digits[data[i] & 15]);
    }
    return text;
}

}  // namespace

RawValue ParseRawValue(const nlohmann::json& value, const std::string& where) {
    RawValue raw;
    const nlohmann::json& type = value["type"];
    if (!type.is_string() || !kValueTypes.count(type.get<std::string>()))
        throw ScenarioError(where + ".type must name a registry value kind");
    raw.type = kValueTypes.at(type.get<std::string>());
    CheckMembers(value, {"type", "hex", "text", "terminated"}, where);
    if (value.contains("hex") == value.contains("text"))
        throw ScenarioError(where + " needs either \"hex\" or \"text\"");
    if (value.contains("hex")) {
        const nlohmann::json& hex = value["hex"];
        if (!hex.is_string() || hex.get<std::string>().size() % 2)
            throw ScenarioError(where + ".hex must be pairs of hexadecimal digits");
        const std::string digits = hex.get<std::string>();
        for (size_t i = 0; i < digits.size(); i += 2)
            raw.bytes.push_back(
                static_cast<unsigned char>(std::stoul(digits.substr(i, 2), nullptr, 16)));
        return raw;
    }
    if (!value["text"].is_string() || (raw.type != REG_SZ && raw.type != REG_EXPAND_SZ))
        throw ScenarioError(where + ".text must be a string, for REG_SZ or REG_EXPAND_SZ");
    return TextValue(quillmark::FromUtf8(value["text"].get<std::string>()), raw.type,
                     value.value("terminated", true));
}

RawValue TextValue(std::u16string text, unsigned long type, bool terminated) {
    if (terminated) text.push_back(u'\0');
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    return {type, {bytes, bytes + text.size() * sizeof(char16_t)}};
}

SettingsSection::SettingsSection()
    : SettingsSection(
          HKEY_CURRENT_USER,
          L"Software\\VB and VBA Program Settings\\" + ToWide(kRegistryAppName) + L"\\Quillmark",
          0) {}

SettingsSection::SettingsSection(HKEY root, std::wstring path, REGSAM view)
    : root_(root), path_(std::move(path)), view_(view) {}

SettingsSection SettingsSection::Policies(bool machine) {
    return SettingsSection(machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER,
                           L"Software\\Policies\\Tolvane\\Quillmark", KEY_WOW64_64KEY);
}

void SettingsSection::Reset() const {
    UniqueRegKey key;
    LSTATUS status =
        RegOpenKeyExW(root_, path_.c_str(), 0, DELETE | KEY_ALL_ACCESS | view_, key.Receive());
    if (status == ERROR_FILE_NOT_FOUND) return;
    if (status != ERROR_SUCCESS) Fail("opening", path_, status);
    status = RegDeleteTreeW(key.Get(), nullptr);
    if (status != ERROR_SUCCESS) Fail("deleting", path_, status);
    RegDeleteKeyExW(root_, path_.c_str(), view_, 0);
}

void SettingsSection::Write(const std::u16string& name, const RawValue& value) const {
    UniqueRegKey key;
    LSTATUS status = RegCreateKeyExW(root_, path_.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view_,
                                     nullptr, key.Receive(), nullptr);
    if (status != ERROR_SUCCESS) Fail("creating", path_, status);
    status = RegSetValueExW(key.Get(), WidePtr(name), 0, value.type, value.bytes.data(),
                            static_cast<DWORD>(value.bytes.size()));
    if (status != ERROR_SUCCESS) Fail("writing", path_ + L"\\" + ToWide(name), status);
}

void SettingsSection::Delete(const std::u16string& name) const {
    UniqueRegKey key;
    if (RegOpenKeyExW(root_, path_.c_str(), 0, KEY_SET_VALUE | view_, key.Receive()) !=
        ERROR_SUCCESS)
        return;
    const LSTATUS status = RegDeleteValueW(key.Get(), WidePtr(name));
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        Fail("deleting", path_ + L"\\" + ToWide(name), status);
}

std::map<std::u16string, std::u16string> SettingsSection::Read() const {
    std::map<std::u16string, std::u16string> values;
    UniqueRegKey key;
    if (RegOpenKeyExW(root_, path_.c_str(), 0, KEY_QUERY_VALUE | view_, key.Receive()) !=
        ERROR_SUCCESS)
        return values;
    DWORD count = 0, longestName = 0, longestData = 0;
    RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                     &longestName, &longestData, nullptr, nullptr);
    std::vector<wchar_t> name(longestName + 1);
    std::vector<BYTE> data(longestData + sizeof(wchar_t));
    for (DWORD index = 0; index < count; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (RegEnumValueW(key.Get(), index, name.data(), &nameLength, nullptr, &type, data.data(),
                          &dataSize) != ERROR_SUCCESS)
            continue;
        if (type != REG_SZ) {
            std::string kind = "REG_" + std::to_string(type);
            for (const auto& [known, number] : kValueTypes)
                if (number == type) kind = known;
            values.emplace(
                FromWide({name.data(), nameLength}),
                quillmark::FromUtf8("<" + kind + " " + Hex(data.data(), dataSize) + ">"));
            continue;
        }
        std::u16string value(reinterpret_cast<const char16_t*>(data.data()),
                             dataSize / sizeof(char16_t));
        while (!value.empty() && value.back() == u'\0') value.pop_back();
        values.emplace(FromWide({name.data(), nameLength}), value);
    }
    return values;
}

}  // namespace standin
