#pragma once

// Fakes of the platform ports, bundled as one Platform. Defaults: empty settings and policy stores,
// the clock at 8 January 2010 15:05:00, login name "clerk1", Pacific Standard Time in force.

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/error.h"
#include "platform/platform.h"
#include "platform/portable/latin_case_folding.h"

namespace quillmark::testing {

class FakeSettingsStore : public SettingsStore {
  public:
    using Address = std::tuple<std::u16string, std::u16string, std::u16string>;

    std::u16string Read(const std::u16string& application, const std::u16string& section,
                        const std::u16string& key, const std::u16string& fallback) override {
        if (failReads) throw Error(u"Settings store read failed");
        const auto found = values.find({application, section, key});
        return found == values.end() ? fallback : found->second;
    }
    void Write(const std::u16string& application, const std::u16string& section,
               const std::u16string& key, const std::u16string& value) override;
    StoredValue Inspect(const std::u16string& application, const std::u16string& section,
                        const std::u16string& key) override {
        const auto found = values.find({application, section, key});
        return found == values.end() ? StoredValue{} : StoredValue::Text(found->second);
    }
    std::vector<std::u16string> ApplicationsWith(const std::u16string& section) override;
    std::u16string Location(const std::u16string& application,
                            const std::u16string& section) override {
        return application + u"\\" + section;
    }

    std::map<Address, std::u16string> values;
    bool failReads = false;
    bool failWrites = false;
};

// Empty unless a test enforces values.
class FakePolicyStore : public PolicyStore {
  public:
    StoredValue Read(PolicyScope scope, const std::u16string& key) override;
    std::u16string Location(PolicyScope scope) override {
        return scope == PolicyScope::kMachine ? u"machine" : u"user";
    }

    std::map<std::pair<PolicyScope, std::u16string>, StoredValue> values;
};

class FakeClock : public Clock {
  public:
    LocalDateTime Now() override {
        ++reads;
        return now;
    }
    LocalDateTime now{2010, 1, 8, 15, 5, 0};
    int reads = 0;
};

// Understands the pattern elements the tests use: m mm d dd yy yyyy h hh nn ss AMPM and
// backslash escapes; everything else stands for itself.
class FakeDateTimeFormatter : public DateTimeFormatter {
  public:
    std::u16string Format(const LocalDateTime& value, const std::u16string& pattern) override;
};

class FakeLoginName : public LoginNameSource {
  public:
    std::u16string UserName() override;
    std::optional<std::u16string> name = u"clerk1";  // absent: the call fails
};

class FakeTimeZoneSource : public TimeZoneSource {
  public:
    FakeTimeZoneSource() { Set(1, u"Pacific Standard Time", u"Pacific Daylight Time"); }
    TimeZoneRecord Query() override;
    // Fills the record as the platform would: each name as UTF-16LE, NUL-padded to 64 bytes.
    void Set(std::uint32_t resultCode, std::u16string_view standardName,
             std::u16string_view daylightName);

    TimeZoneRecord record;
    bool fail = false;
    int queries = 0;
};

// Converts like the automation runtime for the plain forms tests use: optional sign, digits,
// optional fraction; halves round to even; anything else is a type mismatch.
class FakeNumberParser : public NumberParser {
  public:
    std::int32_t ToInt32(const std::u16string& text) override;
};

class FakeVersionSource : public VersionSource {
  public:
    ComponentVersion Read() override { return version; }
    ComponentVersion version{3, 0, 112};
};

// Ports a test puts in instead of the fakes.
struct OwnPorts {
    SettingsStore* settings = nullptr;
    DateTimeFormatter* dateTimeFormatter = nullptr;
    LoginNameSource* loginName = nullptr;
    TimeZoneSource* timeZone = nullptr;
    CaseFolding* caseFolding = nullptr;
};

class FakePlatform {
  public:
    FakeSettingsStore settings;
    FakePolicyStore policies;
    FakeClock clock;
    FakeDateTimeFormatter dateTimeFormatter;
    FakeLoginName loginName;
    FakeTimeZoneSource timeZone;
    LatinCaseFolding caseFolding;
    FakeNumberParser numbers;
    FakeVersionSource version;

    // The fakes as the core's ports, with the test's own where it gives one.
    Platform Ports(const OwnPorts& own = {}) {
        return {
            .settings = own.settings ? *own.settings : settings,
            .policies = policies,
            .clock = clock,
            .dateTimeFormatter = own.dateTimeFormatter ? *own.dateTimeFormatter : dateTimeFormatter,
            .loginName = own.loginName ? *own.loginName : loginName,
            .timeZone = own.timeZone ? *own.timeZone : timeZone,
            .caseFolding = own.caseFolding ? *own.caseFolding : caseFolding,
            .numbers = numbers,
            .version = version,
        };
    }
};

}  // namespace quillmark::testing
