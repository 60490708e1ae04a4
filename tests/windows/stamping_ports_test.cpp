#include <gtest/gtest.h>

#include "base/error.h"
#include "platform/windows/clock.h"
#include "platform/windows/date_time_formatter.h"
#include "platform/windows/number_parser.h"

namespace quillmark::windows {
namespace {

const LocalDateTime kEighthOfJanuary{2010, 1, 8, 15, 5, 0};

TEST(VariantDateTimeFormatter, DefaultPatternsGiveTheUsualStamp) {
    VariantDateTimeFormatter formatter;
    EXPECT_EQ(formatter.Format(kEighthOfJanuary, u"m/d/yy"), u"1/8/10");
    EXPECT_EQ(formatter.Format(kEighthOfJanuary, u"h:nn AMPM"), u"3:05 PM");
    EXPECT_EQ(formatter.Format(kEighthOfJanuary, u"\\<\\t\\i\\m\\e\\>"), u"<time>");
}

TEST(VariantDateTimeFormatter, DateOutsideTheAutomationRangeThrows) {
    VariantDateTimeFormatter formatter;
    EXPECT_THROW(formatter.Format({2010, 13, 40, 0, 0, 0}, u"m/d/yy"), Error);
}

TEST(SystemClock, GivesAPlausibleLocalTime) {
    const LocalDateTime now = SystemClock().Now();
    EXPECT_GE(now.year, 2020);
    EXPECT_TRUE(now.month >= 1 && now.month <= 12 && now.day >= 1 && now.day <= 31);
}

TEST(VariantNumberParser, RoundsHalvesToEvenAndRejectsNonNumbers) {
    VariantNumberParser parser;
    const std::pair<std::u16string, std::int32_t> numbers[] = {
        {u"0", 0}, {u"0.5", 0}, {u"1.5", 2}, {u"2.5", 2}, {u"-1", -1}, {u"2", 2}};
    for (const auto& [text, value] : numbers) EXPECT_EQ(parser.ToInt32(text), value);
    for (const std::u16string text : {u"abc", u"", u"99999999999"}) {
        try {
            parser.ToInt32(text);
            ADD_FAILURE() << "no error";
        } catch (const Error& error) {
            EXPECT_LT(error.code(), 0);
            EXPECT_FALSE(error.description().empty());
        }
    }
}

}  // namespace
}  // namespace quillmark::windows
