#include "db/key_snapshot.h"
#include "dcf_lines.h"
#include "importers/import_row.h"
#include "names/check_dcf_names.h"
#include "run_fixture.h"
#include "staging/import_temp.h"
#include "staging/name_record.h"
#include "test_run.h"

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

// Statements that walk every staged row of a type, once per importer, and
// the filer's names, once per run.
const std::vector<std::string> kTypeWalks = {
    "select name_id, name_type, naml, namf, namt, nams, namn, adr1, adr2, city, stcd, zip4, "
    "occup, job_title, employer, spous_emp, parent1, parent2, os_pac_cb, os_pac_fec from names "
    "where filer_id = ? order by name_id",
    "select import_key from IMPORTTEMP where rec_type = ? order by import_key",
    "select import_key from IMPORTTEMP where rec_type = ? order by repno, rec_num, import_key",
    "select import_key from IMPORTTEMP where rec_type = ? or rec_type = ? order by import_key",
    "select import_key, rec_num from IMPORTTEMP where rec_type = ? order by import_key",
    "select import_key from IMPORTTEMP where rec_type = ? and Status = ? order by import_key",
    "select import_key from IMPORTTEMP where rec_type = ? and filer_id = ? order by import_key",
    "select rec_num, " + staging::nameRecordColumns() +
        ", Memo from IMPORTTEMP where rec_type = ? order by import_key",
};

bool walksAType(const std::string& sql) {
    return std::find(kTypeWalks.begin(), kTypeWalks.end(), sql) != kTypeWalks.end();
}

using QueryPlanTest = RunTest;

// Every statement a run prepares, the name checks' included, finds its rows
// in names and IMPORTTEMP through an index: time per record must not grow
// with the file or with the names already stored.
TEST_P(QueryPlanTest, NoStatementOfARunReadsAWholeTable) {
    const std::string file =
        kHeader + "FLR,1,0,A,B,COH,F123456,X,Y,1\r\n" + nameLine("1", {{7, "Doe"}, {8, "Jane"}}) +
        nameLine("2", {{7, "Roe"}, {8, "Al"}}) + formLine("1", "1", "2") +
        rcptLine("10", "1", "2") + smryLine("11", "1") +
        formLine("2", "1", "0", {{11, "20261399"}}) + rcptLine("12", "2", "2") +
        "CVR2,13,1,,,COH,1,2,C\r\n" +
        dcfLine("CVR3", "20", "1", 13, {{7, "Parks levy"}, {8, "M"}}) +
        dcfLine("CAND", "21", "1", 13, {{4, "15"}, {7, "2"}}) +
        dcfLine("ASSE", "22", "1", 12, {{10, "Desk"}}) +
        dcfLine("TEXT", "23", "1", 7, {{6, "A"}, {7, "\"Memo A\""}}) +
        dcfLine("TEXT", "24", "1", 7, {{6, "Z"}, {7, "\"Memo Z\""}}) + "FINL,25,1,,,COH,1,0,Y\r\n" +
        dcfLine("CORR", "26", "1", 7, {{7, "\"Amended\""}}) +
        dcfLine("PLDG", "14", "1", 14, {{7, "2"}, {8, "20260115"}, {9, "5"}}) +
        dcfLine("EXPN", "15", "1", 13, {{7, "2"}, {8, "20260115"}, {9, "5"}}) +
        dcfLine("CRED", "16", "1", 12, {{7, "2"}, {8, "20260115"}, {9, "5"}}) +
        dcfLine("LOAN", "17", "1", 17, {{7, "2"}, {9, "20260115"}, {10, "5"}}) +
        dcfLine("DEBT", "18", "1", 17, {{7, "2"}}) +
        dcfLine("GUAR", "19", "1", 8, {{4, "17"}, {7, "1"}, {8, "5"}});
    writeDcf("plans.DCF_ZV", file);
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    view_.answer(run::QuestionKind::SaveNotImported, {yes()});
    ASSERT_EQ(run().outcome, app::RunOutcome::Saved);
    // Every schedule importer ran its statements on a row it converted.
    for (const char* table : {"EXPN", "CRED", "LOAN", "GUAR", "DEBT", "NOTICE", "MEASURES", "SMRY",
                              "BENEFIT", "ASSET", "memos", "FINL", "CORR"}) {
        EXPECT_EQ(count(std::string("select count(*) from ") + table), 1) << table;
    }
    // Contribution 12 belongs to the report refused for its start date.
    EXPECT_EQ(count("select count(*) from RCPT"), 2);

    // The schedules' name check, on a contribution of the converted report:
    // once to add the name, once to find it.
    const db::KeySnapshot keys(connection(),
                               "select import_key from IMPORTTEMP where rec_type = ? and Status "
                               "= ? order by import_key",
                               "RCPT", "I");
    ASSERT_FALSE(keys.empty());
    TestRun state(request_);
    run::RunContext context = state.context(connection(), view_);
    staging::ImportTemp importTemp(connection());
    importers::ImporterContext importers{
        context, importTemp, {importTemp.nameRecords(), {}}, {}, {}};
    staging::StagedRow staged;
    ASSERT_TRUE(importTemp.read(*keys.begin(), staged));
    importers::ImportRow row(importers, staged, "repno");
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(names::CheckDCFNames(context, importers.names, staged.field(7),
                                         names::Role::Contributor, row));
    }

    std::size_t checked = 0;
    for (const std::string& sql : connection().preparedSql()) {
        auto plan = connection().prepare("explain query plan " + sql);
        plan->execute();
        while (plan->next()) {
            const std::string detail = plan->text("detail");
            EXPECT_EQ(detail.find("SCAN IMPORTTEMP"), std::string::npos) << sql << "\n" << detail;
            EXPECT_EQ(detail.find("SCAN names"), std::string::npos) << sql << "\n" << detail;
            // All the names of a filer, or all the rows of a record type,
            // only where walking them is the job.
            if (walksAType(sql)) {
                continue;
            }
            EXPECT_EQ(detail.find("(rec_type=?)"), std::string::npos) << sql << "\n" << detail;
            EXPECT_EQ(detail.find("names USING INDEX ix_names_filer_naml (filer_id=?)"),
                      std::string::npos)
                << sql << "\n"
                << detail;
        }
        ++checked;
    }
    EXPECT_GE(checked, 30u);
}

INSTANTIATE_TEST_SUITE_P(NativeSqlite, QueryPlanTest, ::testing::Values(Target::NativeSqlite),
                         TargetNamer{});

} // namespace
} // namespace dcf::test
