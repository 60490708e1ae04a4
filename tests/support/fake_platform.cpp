#include "fake_platform.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/error.h"
#include "base/text.h"

namespace quillmark::testing {

void FakeSettingsStore::Write(const std::u16string& application, const std::u16string& section,
                              const std::u16string& key, const std::u16string& value) {
    if (failWrites) throw Error(u"Settings store write failed");
    values[{application, section, key}] = value;
}

std::vector<std::u16string> FakeSettingsStore::ApplicationsWith(const std::u16string& section) {
    std::vector<std::u16string> applications;
    for (const auto& [address, value] : values) {
        const auto& [application, held, key] = address;
        if (held == section && (applications.empty() || applications.back() != application))
            applications.push_back(application);
    }
    return applications;
}

StoredValue FakePolicyStore::Read(PolicyScope scope, const std::u16string& key) {
    const auto found = values.find({scope, key});
    return found == values.end() ? StoredValue{} : found->second;
}

std::u16string FakeDateTimeFormatter::Format(const LocalDateTime& v,
                                             const std::u16string& pattern) {
    std::string out;
    const std::string p = ToUtf8(pattern);
    const bool twelveHour = p.find("AMPM") != std::string::npos;
    auto number = [&](int n, int width) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%0*d", width, n);
        out += buffer;
    };
    for (std::size_t i = 0; i < p.size();) {
        auto starts = [&](const char* token) {
            return p.compare(i, std::strlen(token), token) == 0;
        };
        if (p[i] == '\\' && i + 1 < p.size()) {
            out += p[i + 1];
            i += 2;
        } else if (starts("AMPM")) {
            out += v.hour < 12 ? "AM" : "PM";
            i += 4;
        } else if (starts("yyyy")) {
            number(v.year, 4), i += 4;
        } else if (starts("yy")) {
            number(v.year % 100, 2), i += 2;
        } else if (starts("mm")) {
            number(v.month, 2), i += 2;
        } else if (starts("m")) {
            number(v.month, 1), i += 1;
        } else if (starts("dd")) {
            number(v.day, 2), i += 2;
        } else if (starts("d")) {
            number(v.day, 1), i += 1;
        } else if (starts("hh") || starts("h")) {
            const int width = starts("hh") ? 2 : 1;
            const int hour = twelveHour ? (v.hour % 12 == 0 ? 12 : v.hour % 12) : v.hour;
            number(hour, width), i += width;
        } else if (starts("nn")) {
            number(v.minute, 2), i += 2;
        } else if (starts("ss")) {
            number(v.second, 2), i += 2;
        } else {
            out += p[i++];
        }
    }
    return FromUtf8(out);
}

std::u16string FakeLoginName::UserName() {
    if (!name) throw Error(u"The user name could not be read");
    return *name;
}

TimeZoneRecord FakeTimeZoneSource::Query() {
    ++queries;
    if (fail) throw Error(u"Time zone information is not available");
    return record;
}

void FakeTimeZoneSource::Set(std::uint32_t resultCode, std::u16string_view standardName,
                             std::u16string_view daylightName) {
    record = {};
    record.resultCode = resultCode;
    auto fill = [](std::array<std::uint8_t, 64>& field, std::u16string_view name) {
        for (std::size_t i = 0; i < name.size() && i < 32; ++i) {
            field[2 * i] = static_cast<std::uint8_t>(name[i] & 0xFF);
            field[2 * i + 1] = static_cast<std::uint8_t>(name[i] >> 8);
        }
    };
    fill(record.standardName, standardName);
    fill(record.daylightName, daylightName);
}

std::int32_t FakeNumberParser::ToInt32(const std::u16string& text) {
    const std::string narrow = ToUtf8(text);
    char* end = nullptr;
    const double value = narrow.empty() ? 0 : std::strtod(narrow.c_str(), &end);
    if (narrow.empty() || *end != '\0' || !std::isfinite(value)) {
        throw Error(u"Type mismatch", static_cast<std::int32_t>(0x80020005));
    }
    const double rounded = std::nearbyint(value);  // the default rounding mode: halves to even
    if (rounded < -2147483648.0 || rounded > 2147483647.0) {
        throw Error(u"Overflow", static_cast<std::int32_t>(0x8002000A));
    }
    return static_cast<std::int32_t>(rounded);
}

}  // namespace quillmark::testing
