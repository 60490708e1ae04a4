#pragma once

// Ports to the operating system. The core reaches the platform only through these; Windows
// implements them in platform/windows, native tests use fakes (tests/support). A new port is a
// new member of Platform, filled by name wherever a bundle is made:
//
//   Platform ports{.settings = store, .policies = policies, ..., .version = version};
//   ports.dateTimeFormatter.Format(ports.clock.Now(), u"m/d/yy");   // u"1/8/10"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillmark {

// What a store holds under one name: text, a value of another kind (which readers take for
// missing), or nothing.
struct StoredValue {
    enum class Kind { kMissing, kText, kOtherKind };
    Kind kind = Kind::kMissing;
    std::u16string text;      // kText: the value
    std::u16string kindName;  // kOtherKind: the kind as the store names it ("REG_DWORD")

    static StoredValue Text(std::u16string text) { return {Kind::kText, std::move(text), {}}; }
    static StoredValue OtherKind(std::u16string kindName) {
        return {Kind::kOtherKind, {}, std::move(kindName)};
    }
    bool IsText() const { return kind == Kind::kText; }
};

// Per-user text settings addressed by application name, section and key.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // The stored value, or fallback when the value does not exist.
    virtual std::u16string Read(const std::u16string& application, const std::u16string& section,
                                const std::u16string& key, const std::u16string& fallback) = 0;
    // Creates the key path and the value as needed; replaces an existing value.
    virtual void Write(const std::u16string& application, const std::u16string& section,
                       const std::u16string& key, const std::u16string& value) = 0;
    // What Read looks at, told apart; for the check program, which explains what it finds.
    virtual StoredValue Inspect(const std::u16string& application, const std::u16string& section,
                                const std::u16string& key) = 0;
    // The applications that hold the section, in the store's order.
    virtual std::vector<std::u16string> ApplicationsWith(const std::u16string& section) = 0;
    // Where the store keeps the section, as people look for it.
    virtual std::u16string Location(const std::u16string& application,
                                    const std::u16string& section) = 0;
};

// Who a policy binds: every user of the machine, or the one user.
enum class PolicyScope { kMachine, kUser };

// The module's settings as an administrator enforces them; read-only. Only text values count:
// the reader takes any other kind for missing.
class PolicyStore {
  public:
    virtual ~PolicyStore() = default;
    virtual StoredValue Read(PolicyScope scope, const std::u16string& key) = 0;
    // Where the store keeps the scope's policies, as people look for them.
    virtual std::u16string Location(PolicyScope scope) = 0;
};

struct LocalDateTime {
    int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
    friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalDateTime Now() = 0;
};

// Date-time patterns in the automation runtime's user-defined format syntax, applied with the
// user's regional settings, Sunday as the first day of the week and the week of 1 January as
// the first week of the year.
class DateTimeFormatter {
  public:
    virtual ~DateTimeFormatter() = default;
    virtual std::u16string Format(const LocalDateTime& value, const std::u16string& pattern) = 0;
};

class LoginNameSource {
  public:
    virtual ~LoginNameSource() = default;
    // The Windows user name of the current user, untrimmed; throws when it cannot be read.
    virtual std::u16string UserName() = 0;
};

// What the platform reports of the zone in force: its result code and the two 64-byte name
// fields exactly as they are laid out in the platform's record.
struct TimeZoneRecord {
    std::uint32_t resultCode = 0;
    std::array<std::uint8_t, 64> standardName{};
    std::array<std::uint8_t, 64> daylightName{};
};

class TimeZoneSource {
  public:
    virtual ~TimeZoneSource() = default;
    virtual TimeZoneRecord Query() = 0;
};

// The user locale's upper-casing. It maps code unit to code unit, so positions in the folded
// text are positions in the original; case-insensitive searches fold both sides once and then
// compare plainly.
class CaseFolding {
  public:
    virtual ~CaseFolding() = default;
    virtual std::u16string ToUpper(std::u16string_view text) = 0;
};

// The automation runtime's text-to-integer conversion: locale-aware, rounds halves to even,
// throws for a text that is not a number or does not fit 32 bits.
class NumberParser {
  public:
    virtual ~NumberParser() = default;
    virtual std::int32_t ToInt32(const std::u16string& text) = 0;
};

struct ComponentVersion {
    int major = 0, minor = 0, revision = 0;
};

// The version numbers of the running component, as its version resource holds them.
class VersionSource {
  public:
    virtual ~VersionSource() = default;
    virtual ComponentVersion Read() = 0;
};

// Everything the core needs of the platform, handed to the core's objects as one bundle.
struct Platform {
    SettingsStore& settings;
    PolicyStore& policies;
    Clock& clock;
    DateTimeFormatter& dateTimeFormatter;
    LoginNameSource& loginName;
    TimeZoneSource& timeZone;
    CaseFolding& caseFolding;
    NumberParser& numbers;
    VersionSource& version;
};

}  // namespace quillmark
