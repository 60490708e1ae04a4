// The zone source and the locale folding against the real system. The zone tests rely on TZ:
// PacificZone runs with TZ=America/Los_Angeles, UtcZone with TZ=UTC, and TurkishLocale with a
// Turkish user locale (see CMakeLists.txt).

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "base/text.h"
#include "fake_host.h"
#include "fake_platform.h"
#include "platform/windows/case_folding.h"
#include "platform/windows/time_zone_source.h"
#include "timezone/time_zone.h"
#include "zone_name_cases.h"

namespace quillmark::testing {
namespace {

using windows::LocaleCaseFolding;
using windows::WindowsTimeZoneSource;

std::u16string FieldText(const std::array<std::uint8_t, 64>& field) {
    std::u16string text;
    for (std::size_t i = 0; i < field.size(); i += 2) {
        text += static_cast<char16_t>(field[i] | (field[i + 1] << 8));
    }
    return text.substr(0, text.find(u'\0'));
}

// The core class with the real locale folding, on the real zone source or on a fake one.
class RealZone : public ::testing::Test {
  protected:
    Platform Ports(TimeZoneSource& zoneSource) {
        return platform.Ports({.timeZone = &zoneSource, .caseFolding = &folding});
    }
    std::u16string Current(bool abbreviationsWanted) {
        return CTimeZone(outside, Ports(source)).GetCurrentTimeZone(abbreviationsWanted);
    }

    HostRecord record;
    FakeOutside outside{record};
    FakePlatform platform;
    WindowsTimeZoneSource source;
    LocaleCaseFolding folding;
};

using PacificZone = RealZone;
using UtcZone = RealZone;
using LocaleLookup = RealZone;

TEST_F(PacificZone, RecordHoldsBothNames) {
    const TimeZoneRecord zone = source.Query();
    EXPECT_TRUE(zone.resultCode == 1 || zone.resultCode == 2) << zone.resultCode;
    EXPECT_EQ(FieldText(zone.standardName), u"Pacific Standard Time");
    EXPECT_EQ(FieldText(zone.daylightName), u"Pacific Daylight Time");
}

TEST_F(PacificZone, NameFollowsTheResultCode) {
    const bool daylight = source.Query().resultCode == 2;
    EXPECT_EQ(Current(false), daylight ? u"Pacific Daylight Time" : u"Pacific Standard Time");
    EXPECT_EQ(Current(true), daylight ? u"PDT" : u"PST");
    EXPECT_TRUE(record.log.empty());
}

// No row abbreviates the name Wine gives UTC, so both forms are the standard name.
TEST_F(UtcZone, NoDaylightSavingGivesTheStandardName) {
    const TimeZoneRecord zone = source.Query();
    EXPECT_EQ(zone.resultCode, 0u);
    const std::u16string standardName = FieldText(zone.standardName);
    ASSERT_FALSE(standardName.empty());
    EXPECT_EQ(Current(false), standardName);
    EXPECT_EQ(Current(true), standardName);
    EXPECT_TRUE(record.log.empty());
}

TEST(TurkishLocale, IAndSmallIStillPair) {
    wchar_t locale[LOCALE_NAME_MAX_LENGTH] = {};
    GetUserDefaultLocaleName(locale, LOCALE_NAME_MAX_LENGTH);
    ASSERT_EQ(std::wstring(locale), L"tr-TR");
    LocaleCaseFolding folding;
    EXPECT_EQ(folding.ToUpper(u"<time>"), folding.ToUpper(u"<TIME>"));
    // Plain ASCII is folded without the system; with one accented letter more, the system folds
    // all of it. Both must agree on every ASCII unit.
    std::u16string ascii;
    for (char16_t unit = 0; unit < 0x80; ++unit) ascii += unit;
    EXPECT_EQ(folding.ToUpper(ascii + u"\u00E9"), folding.ToUpper(ascii) + u"\u00C9");
}

TEST(WindowsCaseFolding, UpperCasesAccentedLettersUnitForUnit) {
    LocaleCaseFolding folding;
    EXPECT_EQ(folding.ToUpper(u"\u00E9\u00E4"), u"\u00C9\u00C4");
    EXPECT_EQ(folding.ToUpper(u"Heure Avanc\u00E9e de l'Est"), u"HEURE AVANC\u00C9E DE L'EST");
    EXPECT_EQ(folding.ToUpper(u""), u"");
    // Letters whose full upper case is longer, and lone surrogates, keep the length.
    const std::u16string awkward = u"stra\u00DFe \uFB01 \xD800 x \xDC00 \U00010428";
    EXPECT_EQ(folding.ToUpper(awkward).size(), awkward.size());
}

TEST(WindowsCaseFolding, FoldsAMailBodySizedText) {
    LocaleCaseFolding folding;
    const std::u16string pair = u"\U00010428";
    const std::u16string pairUpper = folding.ToUpper(pair);
    ASSERT_EQ(pairUpper.size(), 2u);

    // About 25 MB, with a surrogate pair placed across a 64 Ki unit boundary.
    std::u16string text(65535, u'a');
    std::u16string expected(65535, u'A');
    text += pair;
    expected += pairUpper;
    while (text.size() < 13'000'000) {
        text += u"mitteleurop\u00E4ische zeit, avanc\u00E9e ";
        expected += u"MITTELEUROP\u00C4ISCHE ZEIT, AVANC\u00C9E ";
    }
    const std::u16string folded = folding.ToUpper(text);
    ASSERT_EQ(folded.size(), text.size());
    EXPECT_TRUE(folded == expected);  // not EXPECT_EQ: a failure would print 50 MB
}

TEST_F(LocaleLookup, TableMatchesAccentedCapitals) {
    for (const ZoneNameCase& c : kZoneNameCases) {
        SCOPED_TRACE(ToUtf8(c.name));
        platform.timeZone.Set(1, c.name, u"");
        EXPECT_EQ(CTimeZone(outside, Ports(platform.timeZone)).GetCurrentTimeZone(true),
                  c.expected);
    }
}

}  // namespace
}  // namespace quillmark::testing
