#include "dcf/control_names.h"
#include "importers/importers.h"
#include "schedule_fixture.h"

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

using importers::kImportEXPN;

// An expenditure of report 1 to name 7 on form `form`, changed by `fields`.
std::map<int, std::string> expenditure(const std::string& form,
                                       std::map<int, std::string> fields = {}) {
    fields.emplace(6, form);
    fields.emplace(7, "7");
    fields.emplace(8, "20260401");
    fields.emplace(9, "80.25");
    return fields;
}

using ExpenditureImportTest = ScheduleTest;

TEST_P(ExpenditureImportTest, TheFormDecidesFieldThirteenAndItemizing) {
    stageName("7", "Okafor", "Ada");
    coverSheet("2", "COH", "0", "-1");
    coverSheet("3", "COH-SS", "-1", "0");
    stage("EXPN", "1", expenditure("UC-EXP", {{13, "Y"}, {10, "Signs"}}));
    stage("EXPN", "2", expenditure("UC-EXP"));
    stage("EXPN", "3", expenditure("G", {{13, "Y"}}));
    stage("EXPN", "4", expenditure("G", {{13, "N"}, {11, "Y"}}));
    stage("EXPN", "5", expenditure("H"));
    stage("EXPN", "6", expenditure("F", {{13, "Y"}}), "2");
    // No filed-report check for expenditures.
    stage("EXPN", "7", expenditure("F"), "3");

    EXPECT_EQ(convert(kImportEXPN).added, 7);
    EXPECT_EQ(rows("select item_id, repno, rec_type, form_type, expn_amt, expn_date, expn_descr, "
                   "expcntr_yn, expncorp_yn, reimbur_cb, payee_id, entity_cd, payee_naml, "
                   "payee_namf, payee_city, itemize_prog, itemize_user from EXPN order by item_id"),
              (std::vector<std::string>{
                  "1|1|EXPN|UC-EXP|80.2500|04/01/2026|Signs|Y|N||2|I|Okafor|Ada|Salem|F|F",
                  "2|1|EXPN|UC-EXP|80.2500|04/01/2026||N|N||2|I|Okafor|Ada|Salem|F|F",
                  "3|1|EXPN|G|80.2500|04/01/2026||N|N|X|2|I|Okafor|Ada|Salem|F|T",
                  "4|1|EXPN|G|80.2500|04/01/2026||N|N||2|I|Okafor|Ada|Salem|F|T",
                  "5|1|EXPN|H|80.2500|04/01/2026||N|N||2|I|Okafor|Ada|Salem|F|T",
                  "6|2|EXPN|F|80.2500|04/01/2026||N|N||2|I|Okafor|Ada|Salem|F|T",
                  "7|3|EXPN|F|80.2500|04/01/2026||N|N||2|I|Okafor|Ada|Salem|F|F"}));
    EXPECT_EQ(view_.count(control::lblImpExpnCount), 7);
    EXPECT_EQ(view_.text(control::lblProcessingMessage), "Processing Expenditure Records");
    EXPECT_EQ(view_.text(control::statbarMain), "Added Expenditure record(s) for Ada Okafor");
}

TEST_P(ExpenditureImportTest, RejectionsComeBeforeTheDescriptionIsLookedAt) {
    stageName("7", "Okafor", "Ada");
    const std::string long150(150, 'd');
    stage("EXPN", "1", expenditure("F", {{8, "\"\""}, {10, long150}}));
    stage("EXPN", "2", expenditure("F", {{7, "-1"}}));
    stage("EXPN", "3", expenditure("F", {{9, ""}}));
    stage("EXPN", "4", expenditure("F", {{7, "8"}}));
    stage("EXPN", "5", expenditure("F", {{10, long150}}));
    stage("EXPN", "6", expenditure("F", {{10, ""}}), "1", std::string(300, 'm'));

    convert(kImportEXPN);
    const std::string cut = "Expenditure description field is longer than the 100 characters "
                            "allowed. Field truncated in 'EXPN' record Item Id ";
    EXPECT_EQ(
        messages(),
        (std::vector<std::string>{
            "Expenditure Date is missing. Record will not be imported.",
            "Payee name id is missing. Record will not be imported.",
            "Expenditure Amount is missing. Record will not be imported.",
            "Name is missing. Name id does not refer to an existing name. Record will not "
            "be imported!",
            cut + "5 from '" + long150 + "' to '" + long150.substr(0, 100) + "'",
            cut + "6 from '" + std::string(300, 'm') + "' to '" + std::string(100, 'm') + "'"}));
    EXPECT_EQ(statuses("EXPN"), (std::vector<std::string>{"E", "E", "E", "E", "I", "I"}));
    EXPECT_EQ(
        rows("select item_id, expn_descr from EXPN order by item_id"),
        (std::vector<std::string>{"5|" + long150.substr(0, 100), "6|" + std::string(100, 'm')}));
}

TEST_P(ExpenditureImportTest, AFailingRowWritesTheExpenditureBlockAndTheNextRowsConvert) {
    stageName("7", "Okafor", "Ada");
    stage("EXPN", "1", expenditure("F", {{10, "Rent"}}));
    stage("EXPN", "2", expenditure("F", {{9, "ten"}, {10, "Printing"}}));
    stage("EXPN", "3", expenditure("F"));

    EXPECT_EQ(convert(kImportEXPN).added, 2);
    EXPECT_EQ(statuses("EXPN"), (std::vector<std::string>{"I", "E", "I"}));
    EXPECT_EQ(blocks(), std::vector<std::string>{
                            "(Procedure ImportEXPN)\r\nInput Record Causing Error: \r\n"
                            "Record Type = 'EXPN'\r\nFiler ID = F1\r\nReport # = 1\r\n"
                            "Record Number = 2\r\nPayee Name =  \r\n"
                            "Expenditure Date = 20260401\r\nExpenditure Amount = \r\n"
                            "Expenditure Description = \r\n---- Error Source: dcfconvert\r\n"
                            "---- Error Description: Amount 'ten' is not a number.\r\n"});
}

DCF_ON_ALL_DATABASES(ExpenditureImportTest);

} // namespace
} // namespace dcf::test
