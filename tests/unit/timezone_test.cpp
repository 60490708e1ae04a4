#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "base/error.h"
#include "base/text.h"
#include "fake_host.h"
#include "fake_platform.h"
#include "timezone/abbreviation_table.h"
#include "timezone/time_zone.h"
#include "zone_name_cases.h"

namespace quillmark::testing {
namespace {

using namespace std::string_view_literals;

constexpr char16_t kLogSource[] = u"Quillmark.CTimeZone.GetCurrentTimeZone";

class TimeZoneNaming : public ::testing::Test {
  protected:
    // A fresh instance per call, as the stamping routine uses the class.
    std::u16string Current(bool abbreviationsWanted) {
        return CTimeZone(outside, platform.Ports()).GetCurrentTimeZone(abbreviationsWanted);
    }
    // Puts `name` in force as the standard-time name.
    std::u16string Abbreviate(std::u16string_view name) {
        platform.timeZone.Set(1, name, u"");
        return Current(true);
    }

    HostRecord record;
    FakeOutside outside{record};
    FakePlatform platform;
};

TEST_F(TimeZoneNaming, ResultCodeChoosesTheName) {
    struct Case {
        std::uint32_t code;
        std::u16string standardName, full, abbreviated;
    };
    // Code 0 is a zone without daylight saving time: its standard name is the one in force.
    const std::vector<Case> cases = {
        {0, u"India Standard Time", u"India Standard Time", u"India Standard Time"},
        {0, u"Eastern Standard Time", u"Eastern Standard Time", u"EST"},
        {0, u"", u"Cannot determine current time zone", u"Cannot determine current time zone"},
        {1, u"Pacific Standard Time", u"Pacific Standard Time", u"PST"},
        {2, u"Pacific Standard Time", u"Pacific Daylight Time", u"PDT"},
        {3, u"Pacific Standard Time", u"", u""},
        {0xFFFFFFFF, u"Pacific Standard Time", u"", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        platform.timeZone.Set(c.code, c.standardName, u"Pacific Daylight Time");
        EXPECT_EQ(Current(false), c.full);
        EXPECT_EQ(Current(true), c.abbreviated);
    }
    EXPECT_TRUE(record.log.empty());
}

TEST_F(TimeZoneNaming, AsksThePlatformAtEveryCall) {
    CTimeZone zone(outside, platform.Ports());
    EXPECT_EQ(zone.GetCurrentTimeZone(true), u"PST");
    platform.timeZone.Set(2, u"Pacific Standard Time", u"Pacific Daylight Time");
    EXPECT_EQ(zone.GetCurrentTimeZone(true), u"PDT");
    EXPECT_EQ(platform.timeZone.queries, 2);
}

TEST_F(TimeZoneNaming, NameIsThirtyTwoUnitsCutAtTheFirstNul) {
    // All 32 units, no terminating NUL in the field.
    platform.timeZone.Set(1, u"Australian Western Standard Time", u"");
    EXPECT_EQ(Current(false), u"Australian Western Standard Time");
    EXPECT_EQ(Current(true), u"AWST");

    // Only the units before the first NUL count, for the name and for its abbreviation.
    platform.timeZone.Set(2, u"", u"Zulu Time\0Pacific Daylight Time"sv);
    EXPECT_EQ(Current(false), u"Zulu Time");
    EXPECT_EQ(Current(true), u"Z");

    // Units above U+00FF: both bytes of each unit, low byte first.
    platform.timeZone.Set(1, u"\u03A9\u0100 Zone \u4E2D", u"");
    EXPECT_EQ(Current(false), u"\u03A9\u0100 Zone \u4E2D");

    platform.timeZone.Set(1, u"", u"Pacific Daylight Time");
    EXPECT_EQ(Current(false), u"");
    EXPECT_EQ(Current(true), u"");
}

// The rows as they must stand, in search order.
const std::vector<AbbreviationRow> kExpectedRows = {
    {u"Eastern Standard Time", u"EST"},
    {u"Eastern Daylight Time", u"EDT"},
    {u"Central Standard Time", u"CST"},
    {u"Central Daylight Time", u"CDT"},
    {u"Mountain Standard Time", u"MST"},
    {u"Mountain Daylight Time", u"MDT"},
    {u"Pacific Standard Time", u"PST"},
    {u"Pacific Daylight Time", u"PDT"},
    {u"Alpha Time", u"A"},
    {u"Australian Central Daylight Time", u"ACDT"},
    {u"Australian Central Standard Time", u"ACST"},
    {u"Atlantic Daylight Time", u"ADT"},
    {u"Australian Eastern Daylight Time", u"AEDT"},
    {u"Australian Eastern Standard Time", u"AEST"},
    {u"Alaska Daylight Time", u"AKDT"},
    {u"Alaska Standard Time", u"AKST"},
    {u"Atlantic Standard Time", u"AST"},
    {u"Australian Western Daylight Time", u"AWDT"},
    {u"Australian Western Standard Time", u"AWST"},
    {u"Bravo Time", u"B"},
    {u"British Summer Time", u"BST"},
    {u"Charlie Time", u"C"},
    {u"Central European Daylight Time", u"CEDT"},
    {u"Central European Summer Time", u"CEST"},
    {u"Central European Time", u"CET"},
    {u"Central Summer(Daylight) Time", u"CST"},
    {u"Christmas Island Time", u"CXT"},
    {u"Delta Time", u"D"},
    {u"Echo Time", u"E"},
    {u"Eastern European Daylight Time", u"EEDT"},
    {u"Eastern European Summer Time", u"EEST"},
    {u"Eastern European Time", u"EET"},
    {u"Eastern Summer(Daylight) Time", u"EST"},
    {u"Foxtrot Time", u"F"},
    {u"Golf Time", u"G"},
    {u"Greenwich Mean Time", u"GMT"},
    {u"Hotel Time", u"H"},
    {u"Heure Avanc\u00E9e de l'Atlantique", u"HAA"},
    {u"Heure Avanc\u00E9e du Centre", u"HAC"},
    {u"Hawaii-Aleutian Daylight Time", u"HADT"},
    {u"Heure Avanc\u00E9e de l'Est", u"HAE"},
    {u"Heure Avanc\u00E9e du Pacifique", u"HAP"},
    {u"Heure Avanc\u00E9e des Rocheuses", u"HAR"},
    {u"Hawaii-Aleutian Standard Time", u"HAST"},
    {u"Heure Avanc\u00E9e de Terre-Neuve", u"HAT"},
    {u"Heure Avanc\u00E9e du Yukon", u"HAY"},
    {u"Heure Normale de l'Atlantique", u"HNA"},
    {u"Heure Normale du Centre", u"HNC"},
    {u"Heure Normale de l'Est North", u"HNE"},
    {u"Heure Normale du Pacifique", u"HNP"},
    {u"Heure Normale des Rocheuses", u"HNR"},
    {u"Heure Normale de Terre-Neuve", u"HNT"},
    {u"Heure Normale du Yukon", u"HNY"},
    {u"India Time", u"I"},
    {u"Irish Summer Time", u"IST"},
    {u"Kilo Time", u"K"},
    {u"Lima Time", u"L"},
    {u"Mike Time", u"M"},
    {u"Mitteleurop\u00E4ische Sommerzeit", u"MESZ"},
    {u"Mitteleurop\u00E4ische Zeit", u"MEZ"},
    {u"November Time", u"N"},
    {u"Newfoundland Daylight Time", u"NDT"},
    {u"Norfolk (Island) Time", u"NFT"},
    {u"Newfoundland Standard Time", u"NST"},
    {u"Oscar Time", u"O"},
    {u"Papa Time", u"P"},
    {u"Quebec Time", u"Q"},
    {u"Romeo Time", u"R"},
    {u"Sierra Time", u"S"},
    {u"Tango Time", u"T"},
    {u"Uniform Time", u"U"},
    {u"Coordinated Universal Time", u"UTC"},
    {u"Victor Time", u"V"},
    {u"Whiskey Time", u"W"},
    {u"Western European Daylight Time", u"WEDT"},
    {u"Western European Summer Time", u"WEST"},
    {u"Western European Time", u"WET"},
    {u"Western Summer(Daylight) Time", u"WST"},
    {u"Western Standard Time", u"WST"},
    {u"X-ray Time", u"X"},
    {u"Yankee Time", u"Y"},
    {u"Zulu Time", u"Z"},
};

TEST(AbbreviationTable, HoldsTheRowsInSearchOrder) {
    ASSERT_EQ(kAbbreviationTable.size(), kExpectedRows.size());
    for (std::size_t i = 0; i < kExpectedRows.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(kAbbreviationTable[i].name, kExpectedRows[i].name);
        EXPECT_EQ(kAbbreviationTable[i].abbreviation, kExpectedRows[i].abbreviation);
    }
}

TEST_F(TimeZoneNaming, EveryRowNameGivesTheFirstMatchingRowsAbbreviation) {
    // Rows whose names contain an earlier row's name give that row's abbreviation.
    const std::map<std::size_t, std::u16string> shadowed = {
        {10, u"CDT"}, {11, u"CST"}, {13, u"EDT"}, {14, u"EST"}};
    for (std::size_t row = 1; row <= kExpectedRows.size(); ++row) {
        const AbbreviationRow& expected = kExpectedRows[row - 1];
        SCOPED_TRACE(row);
        const auto found = shadowed.find(row);
        EXPECT_EQ(Abbreviate(expected.name),
                  found != shadowed.end() ? found->second : std::u16string(expected.abbreviation));
    }
    EXPECT_TRUE(record.log.empty());
}

TEST_F(TimeZoneNaming, ContainmentIgnoresLetterCaseAndSurroundingWords) {
    for (const ZoneNameCase& c : kZoneNameCases) {
        SCOPED_TRACE(ToUtf8(c.name));
        EXPECT_EQ(Abbreviate(c.name), c.expected);
    }
}

// Upper-cases like the Latin folding but fails when asked to fold `failOn`.
class FailingCaseFolding : public CaseFolding {
  public:
    std::u16string ToUpper(std::u16string_view text) override {
        if (text == failOn) throw Error(u"Folding failed");
        return latin.ToUpper(text);
    }
    std::u16string failOn;
    LatinCaseFolding latin;
};

TEST_F(TimeZoneNaming, ErrorIsLoggedOnceAndGivesTheEmptyName) {
    FailingCaseFolding folding;
    const Platform failingPorts = platform.Ports({.caseFolding = &folding});
    const LogLine expectedLine{u"Error occurred.  Reason: Folding failed", 0, kLogSource};

    // The failure comes from folding a row late in the search.
    folding.failOn = u"Zulu Time";
    platform.timeZone.Set(1, u"Local Time", u"");
    EXPECT_EQ(CTimeZone(outside, failingPorts).GetCurrentTimeZone(true), u"");
    EXPECT_EQ(record.log, std::vector<LogLine>{expectedLine});

    // The full name needs no lookup.
    EXPECT_EQ(CTimeZone(outside, failingPorts).GetCurrentTimeZone(false), u"Local Time");
    EXPECT_EQ(record.log.size(), 1u);

    record.log.clear();
    platform.timeZone.fail = true;
    for (const bool abbreviationsWanted : {false, true}) {
        EXPECT_EQ(Current(abbreviationsWanted), u"");
    }
    const LogLine queryLine{u"Error occurred.  Reason: Time zone information is not available", 0,
                            kLogSource};
    EXPECT_EQ(record.log, (std::vector<LogLine>{queryLine, queryLine}));
}

TEST_F(TimeZoneNaming, FailureOfTheLogReachesTheCaller) {
    platform.timeZone.fail = true;
    for (const char* operation : {"hostservices.create", "hostservices.WriteLog"}) {
        SCOPED_TRACE(operation);
        record.failing = {operation};
        EXPECT_THROW(Current(true), Error);
    }
}

}  // namespace
}  // namespace quillmark::testing
