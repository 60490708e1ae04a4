// Naming the zone in force from an arbitrary platform record: the full name is the name field
// of the result code, up to its first NUL (a fixed text when code 0 gives an empty name, nothing
// for an unknown code); the abbreviation is that of the first table row the name holds, any
// letter case, or the name itself. A lookup never logs an error.

#include <array>
#include <cstddef>
#include <cstdint>

#include "fake_host.h"
#include "fake_platform.h"
#include "fuzz_input.h"
#include "reference.h"
#include "timezone/time_zone.h"

using namespace quillmark;
using namespace quillmark::fuzzing;
using namespace quillmark::testing;

namespace {

// What a name field holds: its 32 units, NUL-padded, up to the first NUL.
std::u16string FieldName(const std::u16string& written) {
    const std::u16string field = written.substr(0, 32);
    return field.substr(0, field.find(u'\0'));
}

std::u16string NameInForce(std::uint32_t code, const std::u16string& standard,
                           const std::u16string& daylight) {
    switch (code) {
        case 0:
            return standard.empty() ? u"Cannot determine current time zone" : standard;
        case 1:
            return standard;
        case 2:
            return daylight;
        default:
            return u"";
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::array<std::uint32_t, 5> kCodes = {0, 1, 2, 3, 0xFFFFFFFF};
    FuzzInput input(data, size);
    const std::uint32_t code = kCodes[input.Byte() % kCodes.size()];
    const std::u16string standard = input.Text(40);
    const std::u16string daylight = input.Text(40);

    HostRecord record;
    FakeOutside outside(record);
    FakePlatform platform;
    platform.timeZone.Set(code, standard, daylight);
    CTimeZone zone(outside, platform.Ports());
    const std::u16string name = NameInForce(code, FieldName(standard), FieldName(daylight));
    Require(zone.GetCurrentTimeZone(false) == name, "the full name is the trimmed name field");
    Require(zone.GetCurrentTimeZone(true) == Abbreviation(name),
            "the abbreviation is that of the first row the name holds, or the name");
    Require(record.log.empty(), "naming the zone logs no error");
    return 0;
}
