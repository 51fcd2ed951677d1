#include "dcf/control_names.h"
#include "importers/importers.h"
#include "schedule_fixture.h"

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

using importers::kImportGUAR;
using importers::kImportLOAN;

// A loan of report 1 from name 7, changed by `fields`.
std::map<int, std::string> loan(std::map<int, std::string> fields = {}) {
    fields.emplace(6, "E");
    fields.emplace(7, "7");
    fields.emplace(9, "20260501");
    fields.emplace(10, "500");
    return fields;
}

// A guarantor of record `parent`, name 7, guaranteeing 100.
std::map<int, std::string> guarantor(const std::string& parent,
                                     std::map<int, std::string> fields = {}) {
    fields.emplace(4, parent);
    fields.emplace(7, "7");
    fields.emplace(8, "100");
    return fields;
}

using LoanImportTest = ScheduleTest;

TEST_P(LoanImportTest, LoansCarryTheirFlagsDatesAndLender) {
    stageName("7", "First Bank", "", {{26, "0"}, {29, "Y"}});
    coverSheet("2", "COH", "0", "-1");
    stage("LOAN", "1",
          loan({{8, "Y"},
                {10, "-0.99"},
                {11, "5.25%"},
                {12, "20270101"},
                {13, "Y"},
                {14, "Car"},
                {15, "Y"},
                {16, "Y"}}));
    stage("LOAN", "2", loan({{10, "0"}, {12, "\"\""}, {13, "N"}}));
    stage("LOAN", "3", loan(), "2");

    EXPECT_EQ(convert(kImportLOAN).added, 3);
    EXPECT_EQ(rows("select item_id, repno, rec_type, form_type, loan_date, loan_amt, Int_Rate, "
                   "Mature_Dt, No_Coll_CB, Coll_Descr, FinInst_YN, lender_id, entity_cd, "
                   "lend_naml, Lend_namn, lend_city, os_pac_cb, os_pac_fec, Guar_NACB, "
                   "itemize_user, itemize_prog from LOAN order by item_id"),
              (std::vector<std::string>{
                  "1|1|LOAN|E|05/01/2026|-0.9900|5.25%|01/01/2027|0|Car|-1|2|E|First Bank||"
                  "Salem|-1|0|0|T|F",
                  "2|1|LOAN|E|05/01/2026|0.0000||null|-1||0|2|E|First Bank||Salem|-1|0|-1|F|F",
                  "3|2|LOAN|E|05/01/2026|500.0000||//|-1||0|2|E|First Bank||Salem|-1|0|-1|T|F"}));
    EXPECT_EQ(view_.count(control::lblImpLoanCount), 3);
    EXPECT_EQ(view_.text(control::statbarMain), "Added Loan record(s) for  First Bank");
}

TEST_P(LoanImportTest, RejectedLoansAndTheCollateralCut) {
    stageName("7", "First Bank");
    const std::string collateral(101, 'c');
    stage("LOAN", "1", loan({{7, "-1"}}));
    stage("LOAN", "2", loan({{9, "\"\""}}));
    stage("LOAN", "3", loan({{10, "-1"}}));
    stage("LOAN", "4", loan({{14, collateral}}));

    EXPECT_EQ(convert(kImportLOAN).added, 1);
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              "Lender id is missing. Record will not be imported.",
                              "Loan Date is missing. Record will not be imported.",
                              "Loan Amount is invalid. Record will not be imported.",
                              "Loan collateral description field is longer than the 100 characters "
                              "allowed. Field truncated in 'LOAN' record Item Id 4 from '" +
                                  collateral + "' to '" + collateral.substr(0, 100) + "'"}));
    EXPECT_EQ(statuses("LOAN"), (std::vector<std::string>{"E", "E", "E", "I"}));
}

TEST_P(LoanImportTest, AnEmptyLoanAmountEndsInTheBlock) {
    stageName("7", "First Bank");
    stage("LOAN", "1", loan({{10, ""}}));
    stage("LOAN", "2", loan());

    EXPECT_EQ(convert(kImportLOAN).added, 1);
    EXPECT_EQ(statuses("LOAN"), (std::vector<std::string>{"E", "I"}));
    EXPECT_EQ(blocks(),
              std::vector<std::string>{"(Procedure ImportLOAN)\r\nInput Record Causing Error: \r\n"
                                       "Record Type = 'LOAN'\r\nFiler ID = F1\r\nReport # = 1\r\n"
                                       "BackRefId = \r\nRecord Number = 1\r\n---- Error # 0\r\n"
                                       "---- Error Source: dcfconvert\r\n"
                                       "---- Error Description: Amount '' is not a number.\r\n"
                                       "---- Error On line # 9\r\n"});
}

DCF_ON_ALL_DATABASES(LoanImportTest);

using GuarantorImportTest = ScheduleTest;

TEST_P(GuarantorImportTest, AGuarantorBacksTheLoanOrDebtItNames) {
    stageName("7", "Okafor", "Ada");
    stage("LOAN", "40", loan());
    stage("DEBT", "41", {{7, "7"}});
    stage("RCPT", "42", {{7, "7"}});
    // Name ids are database numbers by now: name 44 is no record 44 of the
    // file, and a loan numbered 45 is found beside name 45.
    stageName("44", "Roe");
    stageName("45", "Poe");
    stage("LOAN", "45", loan());
    stage("GUAR", "50", guarantor("40"));
    stage("GUAR", "51", guarantor("41", {{8, ""}}));
    stage("GUAR", "52", guarantor("42"));
    stage("GUAR", "53", guarantor(""));
    stage("GUAR", "54", guarantor("-1"));
    stage("GUAR", "55", guarantor("99"));
    stage("GUAR", "56", guarantor("40", {{7, "-1"}}));
    stage("GUAR", "57", guarantor("40", {{7, "98"}}));
    stage("GUAR", "58", guarantor("44"));
    stage("GUAR", "59", guarantor("45"));

    EXPECT_EQ(convert(kImportGUAR).added, 3);
    EXPECT_EQ(rows("select item_id, repno, backref_id, guar_id, entity_cd, guar_naml, guar_namf, "
                   "guar_city, guar_amt, rec_type from GUAR order by item_id"),
              (std::vector<std::string>{"50|1|40|2|I|Okafor|Ada|Salem|100.0000|LOAN",
                                        "51|1|41|2|I|Okafor|Ada|Salem|0.0000|DEBT",
                                        "59|1|45|2|I|Okafor|Ada|Salem|100.0000|LOAN"}));
    const std::string orphan =
        "Guarantor is an orphan record. Guarantor record will not be imported.";
    EXPECT_EQ(messages(),
              (std::vector<std::string>{
                  "Guarantor parent record is not a LOAN or DEBT record. Guarantor record will "
                  "not be imported.",
                  "Guarantor Loan is missing. Record will not be imported.",
                  "Guarantor Loan is missing. Record will not be imported.", orphan,
                  "Guarantor Name id is missing. Record will not be imported.",
                  "Name is missing. Name id does not refer to an existing name. Record will not "
                  "be imported!",
                  "Guarantor Last Name is missing. Record will not be imported.", orphan}));
    EXPECT_EQ(state_.run.counts.imported("GUAR"), 3);
    EXPECT_EQ(view_.text(control::statbarMain), "Added Guarantor record(s) for Ada Okafor");
}

TEST_P(GuarantorImportTest, ItsBlockShowsTheBackReference) {
    stageName("7", "Okafor", "Ada");
    stage("LOAN", "40", loan());
    stage("GUAR", "50", guarantor("40", {{8, "1O0"}}));

    convert(kImportGUAR);
    EXPECT_EQ(statuses("GUAR"), std::vector<std::string>{"E"});
    EXPECT_EQ(blocks(),
              std::vector<std::string>{"(Procedure ImportGUAR)\r\nInput Record Causing Error: \r\n"
                                       "Record Type = 'GUAR'\r\nFiler ID = F1\r\nReport # = 1\r\n"
                                       "BackRefId = 40\r\nRecord Number = 50\r\n---- Error # 0\r\n"
                                       "---- Error Source: dcfconvert\r\n"
                                       "---- Error Description: Amount '1O0' is not a number.\r\n"
                                       "---- Error On line # 9\r\n"});
}

DCF_ON_ALL_DATABASES(GuarantorImportTest);

} // namespace
} // namespace dcf::test
