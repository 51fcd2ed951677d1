// Complete lines: every general rule and every field/type exception, each case
// comparing all staged fields.
#include "split_case.h"

#include <vector>

namespace dcf::test {
namespace {

Fields with(Fields base, const Fields& more) {
    for (const auto& [k, v] : more) {
        base[k] = v;
    }
    return base;
}

std::vector<SplitCase> filerCases() {
    const Fields filer = {{2, "1"}, {3, "0"}, {4, "A"}, {5, "B"}, {6, "C"}, {8, "X"}, {9, "Y"}};
    return {
        {"FilerWorkedExample", "FLR,1,0,A,B,C,F77,X,Y,2", with(filer, {{7, "F77"}, {10, "2"}}),
         "F77", "2"},
        {"FilerQuotedIdIsNoFilerId", R"(FLR,1,0,A,B,C,"F,77",X,Y,"12")",
         with(filer, {{7, "F,77"}, {10, "12"}}), std::nullopt, "12"},
        {"FilerField10TakesRestOfLine", "FLR,1,0,A,B,C,F77,X,Y,2,3",
         with(filer, {{7, "F77"}, {10, "2,3"}}), "F77", "2,3"},
        {"FilerEmptyQuotedField10IsEmpty", R"(FLR,1,0,A,B,C,F77,X,Y,"")", with(filer, {{7, "F77"}}),
         "F77", ""},
    };
}

std::vector<SplitCase> generalRuleCases() {
    const Fields rcpt = {{2, "5"}, {3, "1"}};
    return {
        {"EmptyFieldsAreEmptyStrings", "RCPT,5,1,,b,,d,,f,,h,Z",
         with(rcpt, {{5, "b"}, {7, "d"}, {9, "f"}, {11, "h"}, {12, "Z"}})},
        {"QuotedCommaAndStarInEarlyFields", R"(RCPT,5,1,5*6,b,c,"a,b",5*6,9*9,g,h,Z)",
         with(rcpt, {{4, "5*6"},
                     {5, "b"},
                     {6, "c"},
                     {7, "a,b"},
                     {8, "5,6"},
                     {9, "9,9"},
                     {10, "g"},
                     {11, "h"},
                     {12, "Z"}})},
        {"EmptyQuotedValuesByField", R"(RCPT,5,1,a,b,c,"","",f,"","","")",
         with(rcpt, {{4, "a"}, {5, "b"}, {6, "c"}, {7, "\"\""}, {8, "\"\""}, {9, "f"}})},
        {"ReceiptField12IsLastCharacter", "RCPT,5,1," + run(4, 11) + ",XYZ",
         filled(4, 11, with(rcpt, {{12, "Z"}}))},
        {"ReceiptField12LastCharacterOfLongerLine", "RCPT,5,1," + run(4, 12) + ",XYZ",
         filled(4, 11, with(rcpt, {{12, "Z"}}))},
        {"ReceiptEmptyLastFieldAtLineEnd", "RCPT,5,1," + run(4, 11) + ",", filled(4, 11, rcpt)},
        {"FormQuotedFields",
         R"(FORM,2,1,)" + run(4, 10) + R"(,"Y","x","z","",)" + run(15, 32) + R"(,"p,q",f34,)" +
             run(35, 39) + R"(,"a,b",)" + run(41, 45) + ",QRS",
         filled(4, 45,
                {{2, "2"},
                 {3, "1"},
                 {11, "\"Y"},
                 {12, "\"\""},
                 {13, "\"\""},
                 {14, "\"\""},
                 {33, "p*q"},
                 {40, "a*b"},
                 {46, "S"}})},
        {"FormEmptyField46AtLineEnd", "FORM,2,1," + run(4, 45) + ",",
         filled(4, 45, {{2, "2"}, {3, "1"}})},
        {"FormEmptyField46BeforeComma", "FORM,2,1," + run(4, 45) + ",,",
         filled(4, 45, {{2, "2"}, {3, "1"}})},
        {"NameField34LastTwoCharacters", "NAME,7,1," + run(4, 31) + R"(,"r,s","p,q",XYZ)",
         filled(4, 31, {{2, "7"}, {3, "1"}, {32, "r,s"}, {33, "p*q"}, {34, "YZ"}})},
        {"TextQuotedLastFieldNeedsNoComma", R"(TEXT,1,1,f4,f5,f6,"Hello, world")",
         filled(4, 6, {{2, "1"}, {3, "1"}, {7, "Hello, world"}})},
        {"CorrUnquotedLastFieldEndsAtComma", "CORR,1,1,f4,f5,f6,Hello,",
         filled(4, 6, {{2, "1"}, {3, "1"}, {7, "Hello"}})},
    };
}

std::vector<SplitCase> typeExceptionCases() {
    return {
        {"LoanEmptyField10IsZero", "LOAN,3,1," + run(4, 9) + ",," + run(11, 16) + ",XY",
         filled(4, 16, {{2, "3"}, {3, "1"}, {10, "0"}, {17, "Y"}})},
        {"LoanQuotedField12IsTwoQuotes",
         R"(LOAN,3,1,)" + run(4, 9) + R"(,"",f11,"q",)" + run(13, 16) + ",XY",
         filled(4, 16, {{2, "3"}, {3, "1"}, {10, "0"}, {12, "\"\""}, {17, "Y"}})},
        {"DebtField17IsLastCharacter", "DEBT,4,1," + run(4, 16) + ",XY",
         filled(4, 16, {{2, "4"}, {3, "1"}, {17, "Y"}})},
        {"ItemisedExpenditureEndsAtField12", "EXPN,4,1,f4,f5,I," + run(7, 11) + ",X",
         filled(4, 11, {{2, "4"}, {3, "1"}, {6, "I"}, {12, "X"}})},
        {"ItemisedExpenditureSkipsField13", "EXPN,4,1,f4,f5,I," + run(7, 12) + ",XY",
         filled(4, 11, {{2, "4"}, {3, "1"}, {6, "I"}, {12, "Y"}})},
        {"OtherExpenditureReadsField13", "EXPN,4,1,f4,f5,M," + run(7, 12) + ",XY",
         filled(4, 11, {{2, "4"}, {3, "1"}, {6, "M"}, {13, "Y"}})},
        {"Cover2EndsAtField9", "CVR2,2,1," + run(4, 8) + ",Y",
         filled(4, 8, {{2, "2"}, {3, "1"}, {9, "Y"}})},
        {"FinalField9IsLastCharacter", "FINL,9,1," + run(4, 8) + ",XYZ",
         filled(4, 8, {{2, "9"}, {3, "1"}, {9, "Z"}})},
        {"FinalField9IsLastCharacterWhateverItIs", "FINL,9,1," + run(4, 8) + ",",
         filled(4, 8, {{2, "9"}, {3, "1"}, {9, ","}})},
        {"PledgeEndsAtField12", "PLDG,6,1," + run(4, 11) + ",750",
         filled(4, 11, {{2, "6"}, {3, "1"}, {12, "0"}})},
        {"PledgeEmptyField12AtLineEnd", "PLDG,6,1," + run(4, 11) + ",",
         filled(4, 11, {{2, "6"}, {3, "1"}})},
        {"Cover3Field13RestOfLine", R"(CVR3,2,1,)" + run(4, 11) + R"(,"a",purpose, in short)",
         filled(4, 11, {{2, "2"}, {3, "1"}, {12, "\"\""}, {13, "purpose, in short"}})},
        {"CandidateField13RestOfLine", "CAND,5,1," + run(4, 12) + ",x,y",
         filled(4, 12, {{2, "5"}, {3, "1"}, {13, "x,y"}})},
        {"CandidateQuotedField13", R"(CAND,5,1,)" + run(4, 12) + R"(,"x,y")",
         filled(4, 12, {{2, "5"}, {3, "1"}, {13, "x,y"}})},
        {"CandidateEmptyQuotedField13IsEmpty", R"(CAND,5,1,)" + run(4, 12) + R"(,"")",
         filled(4, 12, {{2, "5"}, {3, "1"}})},
        {"SummaryField11SingleCharacter", "SMRY,3,1," + run(4, 10) + ",XYZ",
         filled(4, 10, {{2, "3"}, {3, "1"}, {11, "X"}})},
        {"SummaryQuotedField11", R"(SMRY,3,1,)" + run(4, 10) + R"(,"A,B")",
         filled(4, 10, {{2, "3"}, {3, "1"}, {11, "A,B"}})},
        {"GuarantorField8RestOfLine", "GUAR,8,1," + run(4, 7) + ",rest, of line",
         filled(4, 7, {{2, "8"}, {3, "1"}, {8, "rest, of line"}})},
        {"GuarantorOneCharacterField8IsKept", "GUAR,8,1," + run(4, 7) + ",Z",
         filled(4, 7, {{2, "8"}, {3, "1"}, {8, "Z"}})},
        {"GuarantorQuotedField8", R"(GUAR,8,1,)" + run(4, 7) + R"(,"x,y")",
         filled(4, 7, {{2, "8"}, {3, "1"}, {8, "x,y"}})},
    };
}

std::vector<SplitCase> multibyteCases() {
    return {
        {"ReceiptMultibyteLastCharacter", "RCPT,5,1," + run(4, 11) + ",x€",
         filled(4, 11, {{2, "5"}, {3, "1"}, {12, "€"}})},
        {"NameMultibyteLastTwoCharacters", "NAME,7,1," + run(4, 33) + ",añé",
         filled(4, 33, {{2, "7"}, {3, "1"}, {34, "ñé"}})},
        {"FormMultibyteQuotedField11AndField46",
         R"(FORM,2,1,)" + run(4, 10) + R"(,"é",)" + run(12, 45) + ",€",
         filled(4, 45, {{2, "2"}, {3, "1"}, {11, "\"é"}, {46, "€"}})},
        {"SummaryMultibyteSingleCharacter", "SMRY,3,1," + run(4, 10) + ",éa",
         filled(4, 10, {{2, "3"}, {3, "1"}, {11, "é"}})},
    };
}

std::vector<SplitCase> allCases() {
    std::vector<SplitCase> all;
    for (auto part : {filerCases(), generalRuleCases(), typeExceptionCases(), multibyteCases()}) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

class CompleteLine : public ::testing::TestWithParam<SplitCase> {};

TEST_P(CompleteLine, StagesEveryField) {
    expectSplit(GetParam(), splitByType(GetParam().line));
}

INSTANTIATE_TEST_SUITE_P(Split, CompleteLine, ::testing::ValuesIn(allCases()),
                         [](const auto& testInfo) { return testInfo.param.name; });

} // namespace
} // namespace dcf::test
