#include "dcf/convert_date.h"

#include <string>

#include <gtest/gtest.h>

namespace dcf {
namespace {

struct DateCase {
    const char* name;
    std::string input;
    std::string expected;
    bool error;
};

class ConvertDateTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(ConvertDateTest, GivesMonthDayYearAndFlagsInvalidDates) {
    const DateCase& c = GetParam();
    const ConvertedDate converted = ConvertDate(c.input);
    EXPECT_EQ(converted.text, c.expected);
    EXPECT_EQ(converted.valid, !c.error);
}

const DateCase kCases[] = {
    {"Plain", "20031205", "12/05/2003", false},
    {"ZeroZeroYearRepaired", "00051231", "12/31/2005", false},
    {"YearZeroRepaired", "00000229", "02/29/2000", false},
    {"YearTenKeptAndTooEarly", "00101231", "12/31/0010", true},
    {"YearFifteenKeptAndTooEarly", "00151231", "12/31/0015", true},
    {"YearOneHundred", "01000101", "01/01/0100", false},
    {"MonthThirteen", "20031305", "13/05/2003", true},
    {"MonthZero", "20030005", "00/05/2003", true},
    {"DayZero", "20030500", "05/00/2003", true},
    {"AprilThirtyFirst", "20030431", "04/31/2003", true},
    {"LeapDay", "20000229", "02/29/2000", false},
    {"LeapDayOfCommonYear", "20010229", "02/29/2001", true},
    {"LeapDayOfCentury", "19000229", "02/29/1900", true},
    {"Empty", "", "//", true},
    {"YearOnly", "2003", "//2003", true},
    {"OneDigitDayTaken", "2003051", "05/1/2003", false},
    {"RestOfLineIgnored", "2003120599", "12/05/2003", false},
    {"SpacesNotTrimmed", "2003 5 1", " 5/ 1/2003", true},
    {"ShortZeroYearRepaired", "00", "//2000", true},
    // A character is sliced whole, however many bytes it takes.
    {"MultibyteMonth", "2003é120", "é1/20/2003", true},
    {"MultibyteYear", "€001123", "12/3/€001", true},
};

INSTANTIATE_TEST_SUITE_P(Cases, ConvertDateTest, ::testing::ValuesIn(kCases),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

} // namespace
} // namespace dcf
