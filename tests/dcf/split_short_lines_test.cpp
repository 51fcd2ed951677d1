// Lines that end before their type's fields do, very long lines, and reuse of
// one result for successive lines.
#include "dcf/record_types.h"
#include "split_case.h"

#include <vector>

namespace dcf::test {
namespace {

std::vector<SplitCase> shortCases() {
    return {
        {"TextUnquotedLastFieldWithoutComma", "TEXT,1,1,f4,f5,f6,Hello",
         filled(4, 6, {{2, "1"}, {3, "1"}}), std::nullopt, std::nullopt,
         "Field 7 has no closing comma."},
        {"TextUnterminatedQuote", R"(TEXT,1,1,f4,f5,f6,"Hello, world)",
         filled(4, 6, {{2, "1"}, {3, "1"}}), std::nullopt, std::nullopt,
         "Unterminated quote in field 7."},
        {"ReceiptUnterminatedQuoteMidLine", R"(RCPT,5,1,)" + run(4, 9) + R"(,"open,f11,Z)",
         filled(4, 9, {{2, "5"}, {3, "1"}}), std::nullopt, std::nullopt,
         "Unterminated quote in field 10."},
        {"ReceiptWithFiveFields",
         "RCPT,5,1,f4,f5",
         {{2, "5"}, {3, "1"}, {4, "f4"}},
         std::nullopt,
         std::nullopt,
         "Field 5 has no closing comma."},
        {"NameWithoutField34", "NAME,7,1," + run(4, 33), filled(4, 32, {{2, "7"}, {3, "1"}}),
         std::nullopt, std::nullopt, "Field 33 has no closing comma."},
        {"OtherExpenditureEndingAtField12", "EXPN,4,1,f4,f5,M," + run(7, 11) + ",X",
         filled(4, 11, {{2, "4"}, {3, "1"}, {6, "M"}}), std::nullopt, std::nullopt,
         "Field 13 is missing: the line ends after field 12."},
        {"TypeOnly",
         "CRED",
         {},
         std::nullopt,
         std::nullopt,
         "Field 2 is missing: the line ends after field 1."},
        {"RecordNumberWithoutReportNumber",
         "CRED,12",
         {},
         std::nullopt,
         std::nullopt,
         "Field 2 has no closing comma."},
        // Nothing is read again from the start of the line once its commas
        // run out.
        {"Cover2EndingBeforeField9", "CVR2,2,1," + run(4, 8), filled(4, 7, {{2, "2"}, {3, "1"}}),
         std::nullopt, std::nullopt, "Field 8 has no closing comma."},
        {"FilerEndingAtField8KeepsWhatWasRead",
         "FLR,1,0,A,B,C,F77,X",
         {{2, "1"}, {3, "0"}, {4, "A"}, {5, "B"}, {6, "C"}, {7, "F77"}},
         "F77",
         std::nullopt,
         "Field 8 has no closing comma."},
    };
}

class ShortLine : public ::testing::TestWithParam<SplitCase> {};

TEST_P(ShortLine, IsIncompleteWithProblem) {
    expectSplit(GetParam(), splitByType(GetParam().line));
}

INSTANTIATE_TEST_SUITE_P(Split, ShortLine, ::testing::ValuesIn(shortCases()),
                         [](const auto& testInfo) { return testInfo.param.name; });

TEST(SplitLongLine, QuotedMegabyteLastFieldIsKeptWhole) {
    std::string text(1 << 20, 'x');
    for (std::size_t i = 0; i < text.size(); i += 1000) {
        text[i] = ',';
    }
    const SplitCase c{"", "TEXT,1,1,f4,f5,f6,\"" + text + "\"",
                      filled(4, 6, {{2, "1"}, {3, "1"}, {7, text}})};
    expectSplit(c, splitByType(c.line));
}

TEST(SplitLongLine, MegabyteLastFieldGivesItsLastCharacter) {
    const SplitCase c{"", "RCPT,5,1," + run(4, 11) + "," + std::string(1 << 20, 'y') + "é",
                      filled(4, 11, {{2, "5"}, {3, "1"}, {12, "é"}})};
    expectSplit(c, splitByType(c.line));
}

TEST(SplitReuse, LeavesNothingOfThePreviousLine) {
    SplitLine reused;
    splitDcfLine("FORM,2,1," + run(4, 45) + ",Z", 45, reused);
    splitDcfLine("FLR,1,0,A,B,C,F77,X,Y,2", 9, reused);
    splitDcfLine("TEXT,1,1,f4,f5,f6,Hello", 6, reused);
    ASSERT_FALSE(reused.complete);
    splitDcfLine("CVR2,2,1," + run(4, 8) + ",Y", 10, reused);
    expectSplit({"", "CVR2,2,1," + run(4, 8) + ",Y", filled(4, 8, {{2, "2"}, {3, "1"}, {9, "Y"}})},
                reused);
}

TEST(RecordTypes, MatchFirstFourCharactersExactly) {
    ASSERT_NE(findRecordType("FLR,1,0"), nullptr);
    EXPECT_EQ(findRecordType("FLR,1,0")->fieldCount, 9);
    EXPECT_EQ(findRecordType("FORM,1")->fieldCount, 45);
    EXPECT_EQ(findRecordType("NAMEX")->code, "NAME");
    EXPECT_FALSE(findRecordType("HDR,1")->staged);
    EXPECT_TRUE(findRecordType("CAND")->staged);
    EXPECT_EQ(findRecordType("flr,1"), nullptr);
    EXPECT_EQ(findRecordType("FLR 1"), nullptr);
    EXPECT_EQ(findRecordType("FLR"), nullptr);
    EXPECT_EQ(findRecordType(""), nullptr);
    EXPECT_EQ(allRecordTypes().size(), 19U);
}

} // namespace
} // namespace dcf::test
