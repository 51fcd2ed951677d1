#include "db/value.h"

#include <string>

#include <gtest/gtest.h>

namespace dcf::db {
namespace {

TEST(Currency, ParsesDecimalTextExactly) {
    struct Case {
        const char* text;
        std::int64_t units;
    };
    const Case cases[] = {
        {"0", 0},
        {"0.0001", 1},
        {"-0.99", -9900},
        {"12345678.9999", 123456789999},
        {"+5", 50000},
        {"1.0e-04", 1},
        {"1.5E+2", 1500000},
        {"99999999999.9999", 999999999999999},
        {".5", 5000},
        {"0.00005", 1},
        {"-0.00005", -1},
        {"0.00004", 0},
        {"12.34567", 123457},
    };
    for (const auto& c : cases) {
        const auto parsed = Currency::parse(c.text);
        ASSERT_TRUE(parsed) << c.text;
        EXPECT_EQ(parsed->tenThousandths(), c.units) << c.text;
    }
}

TEST(Currency, RefusesWhatIsNotAnAmount) {
    for (const char* text : {"", "-", "abc", "1.2.3", "12a", "1e", "99999999999999999999"}) {
        EXPECT_FALSE(Currency::parse(text)) << text;
    }
}

TEST(Currency, ExponentIsASignAndDigitsOnly) {
    using namespace std::string_literals;
    // Neither a blank nor a NUL ends the exponent early.
    for (const std::string& text : {"1e 5"s, "1e\t5"s, "1e5 "s, "1e+"s, "1e-"s, "1e+-5"s, "1e0x1"s,
                                    "1e41"s, "1e-41"s, "1e5e1"s, "1e\0"s, "1.0e\0\0\0\2554"s}) {
        EXPECT_FALSE(Currency::parse(text)) << text;
    }
    EXPECT_EQ(Currency::parse("1e+0005"), Currency::fromTenThousandths(1000000000));
    EXPECT_EQ(Currency::parse("25E-1"), Currency::fromTenThousandths(25000));
    EXPECT_EQ(Currency::parse("1e-40"), Currency::fromTenThousandths(0));
}

TEST(Currency, FormatsWithFourPlaces) {
    EXPECT_EQ(Currency::fromTenThousandths(-9900).toString(), "-0.9900");
    EXPECT_EQ(Currency::fromTenThousandths(1).toString(), "0.0001");
    EXPECT_EQ(Currency::fromTenThousandths(999999999999999).toString(), "99999999999.9999");
    EXPECT_EQ(Currency::fromTenThousandths(INT64_MIN).toString(), "-922337203685477.5808");
}

} // namespace
} // namespace dcf::db
