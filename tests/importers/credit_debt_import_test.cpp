#include "dcf/control_names.h"
#include "importers/importer_error_block.h"
#include "importers/importers.h"
#include "schedule_fixture.h"
#include "staging/import_temp.h"

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

using importers::kImportCRED;
using importers::kImportDEBT;

// A credit of report 1 from name 7, changed by `fields`.
std::map<int, std::string> credit(std::map<int, std::string> fields = {}) {
    fields.emplace(6, "D");
    fields.emplace(7, "7");
    fields.emplace(8, "20260601");
    fields.emplace(9, "42");
    return fields;
}

using CreditDebtImportTest = ScheduleTest;

TEST_P(CreditDebtImportTest, CreditsConvertOrAreRefusedWithTheirOwnWords) {
    stageName("7", "Print Shop");
    const std::string description(101, 'p');
    stage("CRED", "1", credit({{10, "Flyers"}, {11, "ignored"}}));
    stage("CRED", "2", credit({{7, "-1"}}));
    stage("CRED", "3", credit({{8, "\"\""}}));
    stage("CRED", "4", credit({{9, ""}}));
    stage("CRED", "5", credit({{10, description}}));
    stage("CRED", "6", credit({{9, "4,2"}}));

    EXPECT_EQ(convert(kImportCRED).added, 2);
    EXPECT_EQ(rows("select item_id, repno, rec_type, form_type, payee_id, incur_Date, incur_amt, "
                   "cred_descr, entity_cd, payee_naml, payee_zip4 from CRED order by item_id"),
              (std::vector<std::string>{"1|1|CRED|D|2|06/01/2026|42.0000|Flyers|E|Print Shop|97301",
                                        "5|1|CRED|D|2|06/01/2026|42.0000|" +
                                            description.substr(0, 100) + "|E|Print Shop|97301"}));
    EXPECT_EQ(messages(),
              (std::vector<std::string>{
                  "Payee Name Id is missing. Record will not be imported.",
                  // No full stop after this one.
                  "Expenditure Date is missing. Record will not be imported",
                  "Expenditure Amount is missing. Record will not be imported.",
                  "Credit Description field is longer than the 100 characters allowed. Field "
                  "truncated in 'CRED' record Item Id 5 from '" +
                      description + "' to '" + description.substr(0, 100) + "'"}));
    EXPECT_EQ(statuses("CRED"), (std::vector<std::string>{"I", "E", "E", "E", "I", "E"}));
    EXPECT_EQ(blocks(),
              std::vector<std::string>{"(Procedure ImportCRED)\r\nInput Record Causing Error: \r\n"
                                       "Record Type = 'CRED'\r\nFiler ID = F1\r\nReport # = 1\r\n"
                                       "Record Number = 6\r\n---- Error # 0\r\n"
                                       "---- Error Source: dcfconvert\r\n"
                                       "---- Error Description: Amount '4,2' is not a number.\r\n"
                                       "---- Error On line # 9\r\n"});
    EXPECT_EQ(view_.count(control::lblImpCredCount), 2);
    EXPECT_EQ(view_.text(control::statbarMain), "Added Credit record(s) for  Print Shop");
}

TEST_P(CreditDebtImportTest, DebtsKeepTheirCreditorAmongTheFilersNames) {
    stageName("7", "First Bank");
    stageName("8", "Okafor", "Ada");
    stage("DEBT", "1", {{6, "E"}, {7, "7"}, {15, "Y"}});
    stage("DEBT", "2", {{6, "E"}, {7, "8"}, {15, "N"}});
    stage("DEBT", "3", {{6, "E"}, {7, "7"}});
    stage("DEBT", "4", {{6, "E"}, {7, "-1"}});
    stage("DEBT", "5", {{6, "E"}, {7, "9"}});

    EXPECT_EQ(convert(kImportDEBT).added, 3);
    EXPECT_EQ(rows("select item_id, repno, rec_type, form_type, cred_id, entity_cd, cred_naml, "
                   "cred_namf, cred_adr1, Guar_NACB from DEBT order by item_id"),
              (std::vector<std::string>{"1|1|DEBT|E|2|E|First Bank||1 Main St|0",
                                        "2|1|DEBT|E|3|I|Okafor|Ada|1 Main St|-1",
                                        "3|1|DEBT|E|2|E|First Bank||1 Main St|-1"}));
    // Each creditor once, under the id its debts store.
    EXPECT_EQ(rows("select name_id, name_type, naml from names order by name_id"),
              (std::vector<std::string>{"2|L|First Bank", "3|L|Okafor"}));
    EXPECT_EQ(messages(),
              (std::vector<std::string>{
                  "Creditor id is missing. Record will not be imported.",
                  "Name is missing. Name id does not refer to an existing name. Record will not "
                  "be imported!"}));
    EXPECT_EQ(view_.count(control::lblImpDebtCount), 3);
    EXPECT_EQ(view_.text(control::statbarMain), "Added Credit record(s) for  First Bank");
}

// A debt has nothing that can fail but the database; its block is checked
// as the frame would write it.
TEST_P(CreditDebtImportTest, TheDebtBlockQuotesTheInputRecord) {
    const std::int64_t key = stage("DEBT", "1", {{6, "E"}, {7, "7"}});
    run::RunContext context = state_.context(connection(), view_);
    staging::ImportTemp importTemp(connection());
    importers::ImporterContext importers{
        context, importTemp, {importTemp.nameRecords(), {}}, {}, {}};
    staging::StagedRow staged;
    ASSERT_TRUE(importTemp.read(key, staged));
    const importers::ImportRow row(importers, staged, "repno");
    const log::ErrorFields error{"23000 (19)", "sqlite", "constraint failed"};
    const std::vector<std::string> block =
        importers::importerErrorBlock(context, kImportDEBT, row, error, std::tm{});
    EXPECT_EQ(std::vector<std::string>(block.begin() + 1, block.end()),
              (std::vector<std::string>{
                  "(Procedure ImportDEBT)", "Input Record Causing Error: ", "Record Type = 'DEBT'",
                  "Filer ID = F1", "Report # = 1", "BackRefId = ", "Record Number = 1",
                  "---- Input Record Causing Error: 'DEBT,1,1,,,E,7" + std::string(39, ',') + "'",
                  "---- Error # 23000 (19)", "---- Error Source: sqlite",
                  "---- Error Description: constraint failed", "---- Error On line # 9"}));
}

DCF_ON_ALL_DATABASES(CreditDebtImportTest);

} // namespace
} // namespace dcf::test
