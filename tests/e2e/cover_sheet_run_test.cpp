#include "dcf_lines.h"
#include "run_fixture.h"

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

const std::string kFilerOfName1 = "FLR,1,0,A,B,COH,F123456,X,Y,1\r\n";
const std::string kFilerName = nameLine("1", {{7, "Doe Campaign"},
                                              {8, "Jane"},
                                              {12, "100 Main St"},
                                              {14, "Springfield"},
                                              {15, "ST"},
                                              {16, "12345"}});

// A treasurer with a telephone and a mailing address (zip before state).
std::string treasurerLine(const std::string& number, const std::string& last,
                          const std::string& city) {
    return nameLine(number, {{7, last},
                             {8, "Pat"},
                             {12, "1 Oak Rd"},
                             {14, "Salem"},
                             {15, "ST"},
                             {16, "54321"},
                             {17, "5551234"},
                             {18, "12"},
                             {30, "PO Box 9"},
                             {32, city},
                             {33, "99999"},
                             {34, "MS"}});
}

class CoverSheetRunTest : public RunTest {
protected:
    app::RunResult runSaving() {
        view_.answer(run::QuestionKind::ConfirmRun, {yes()});
        for (const auto kind : {run::QuestionKind::SaveClean, run::QuestionKind::SaveMinor,
                                run::QuestionKind::SaveNotImported}) {
            view_.answer(kind, {yes()});
        }
        return run();
    }

    std::vector<std::string> rows(const std::string& sql) { return selectRows(connection(), sql); }

    void setCounters(int nameId, int reportNumber) {
        connection()
            .statement("update repno set NameID = ?, repno = ?")
            .run(std::int64_t{nameId}, std::int64_t{reportNumber});
    }
};

// Two reports with their own treasurers and a contributor they share. The
// counters overlap the file's numbers: name id 2 for file names 1 to 3,
// report number 2 for file reports 1 and 2.
const std::string kTwoReports =
    kHeader + kFilerOfName1 + kFilerName + treasurerLine("2", "First Treasurer", "Capital") +
    treasurerLine("3", "Second Treasurer", "Harbor") + formLine("1", "1", "2") +
    rcptLine("10", "1", "2") + smryLine("11", "1") + formLine("2", "1", "3") +
    rcptLine("12", "2", "2") + rcptLine("13", "2", "3") + smryLine("14", "2") +
    // A candidate's field4 is an expenditure's record number, not a report's.
    dcfLine("CAND", "15", "1", 13, {{4, "1"}, {7, "3"}});

TEST_P(CoverSheetRunTest, EveryReferencePointsWhereTheFileMeantAfterOverlappingRenumbering) {
    setCounters(2, 2);
    writeDcf("two.DCF_ZV", kTwoReports);
    EXPECT_EQ(runSaving().outcome, app::RunOutcome::Saved);

    // Two more name ids for the contributors the names table did not know.
    EXPECT_EQ(rows("select NameID, repno from repno"), std::vector<std::string>{"7|4"});
    EXPECT_EQ(rows("select rec_num from IMPORTTEMP where rec_type = 'NAME' order by import_key"),
              (std::vector<std::string>{"2", "3", "4"}));
    EXPECT_EQ(rows("select field10 from IMPORTTEMP where rec_type = 'FLR,'"),
              std::vector<std::string>{"2"});
    EXPECT_EQ(rows("select rec_num, field8, field9, Status from IMPORTTEMP where rec_type = "
                   "'FORM' order by import_key"),
              (std::vector<std::string>{"2|2|3|T", "3|2|4|T"}));
    EXPECT_EQ(rows("select repno, field7, Status from IMPORTTEMP where rec_type = 'RCPT' order "
                   "by import_key"),
              (std::vector<std::string>{"2|3|I", "3|3|I", "3|4|I"}));
    EXPECT_EQ(rows("select repno, field4, field7 from IMPORTTEMP where rec_type = 'CAND'"),
              std::vector<std::string>{"2|1|4"});
    EXPECT_EQ(rows("select repno, field8, Status from IMPORTTEMP where rec_type = 'SMRY' order "
                   "by import_key"),
              (std::vector<std::string>{"2|100.00|S", "3|100.00|S"}));

    EXPECT_EQ(rows("select repno, filer_naml, filer_namf, entity_cd, tres_naml, tres_phon, "
                   "tres_phone_x, tmail_adr1, tmail_city, tmail_stcd, tmail_zip4 from cvr order "
                   "by repno"),
              (std::vector<std::string>{
                  "2|Doe Campaign|Jane|I|First Treasurer|5551234|12|PO Box 9|Capital|MS|99999",
                  "3|Doe Campaign|Jane|I|Second Treasurer|5551234|12|PO Box 9|Harbor|MS|99999"}));
    // The filer keeps the treasurer of the last report that names one.
    EXPECT_EQ(rows("select filer_naml, tres_naml, tres_namf, tres_ph_x, tmail_city from FILERS"),
              std::vector<std::string>{"Doe Campaign|Second Treasurer|Pat|12|Harbor"});
    // Cover sheets keep their names in cvr; only the contributors reach names,
    // each once, and every contribution lands in its report.
    EXPECT_EQ(rows("select name_id, name_type, naml from names order by name_id"),
              (std::vector<std::string>{"5|C|First Treasurer", "6|C|Second Treasurer"}));
    EXPECT_EQ(rows("select repno, item_id, ctrib_id, ctrib_naml from RCPT order by item_id"),
              (std::vector<std::string>{"2|10|5|First Treasurer", "3|12|5|First Treasurer",
                                        "3|13|6|Second Treasurer"}));
    EXPECT_EQ(view_.count("lblImpFormCount"), 2);
    EXPECT_EQ(view_.text("statbarMain").rfind("Processed ", 0), 0u);
}

// The contribution importer converts pledges too, and runs for them alone.
TEST_P(CoverSheetRunTest, PledgesConvertInAFileWithoutContributions) {
    writeDcf("pledges.DCF_ZV",
             kHeader + kFilerOfName1 + kFilerName + treasurerLine("2", "Treasurer", "Capital") +
                 formLine("1", "1", "2") +
                 dcfLine("PLDG", "10", "1", 14, {{7, "2"}, {8, "20260115"}, {9, "75"}}));
    EXPECT_EQ(runSaving().outcome, app::RunOutcome::Saved);
    EXPECT_EQ(rows("select rec_type, item_id, ctrib_naml from RCPT"),
              std::vector<std::string>{"PLDG|10|Treasurer"});
    EXPECT_EQ(view_.count("lblImpRcptCount"), 1);
}

TEST_P(CoverSheetRunTest, ADeclinedSaveHandsTheSameNumbersOutAgain) {
    writeDcf("two.DCF_ZV", kTwoReports);
    const auto before = contents();
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    view_.answer(run::QuestionKind::SaveClean, {no()});
    EXPECT_EQ(run().outcome, app::RunOutcome::RolledBack);
    EXPECT_EQ(contents(), before);

    view_ = RecordingView();
    EXPECT_EQ(runSaving().outcome, app::RunOutcome::Saved);
    EXPECT_EQ(rows("select repno, tres_naml from cvr order by repno"),
              (std::vector<std::string>{"1|First Treasurer", "2|Second Treasurer"}));
    EXPECT_EQ(rows("select rec_num from IMPORTTEMP where rec_type = 'NAME' order by import_key"),
              (std::vector<std::string>{"2", "3", "4"}));
}

TEST_P(CoverSheetRunTest, CoverSheetFieldsFollowTheirRules) {
    const std::string file =
        kHeader + kFilerOfName1 + kFilerName + treasurerLine("2", "Treasurer", "Capital") +
        // Filed "C" with correction 0: not filed, correction 1, previous report set.
        formLine("1", "1", "0", {{5, "C"}}) +
        // Filed, correction 0: no previous report.
        formLine("2", "1", "0", {{5, "-1"}}) +
        formLine("3", "1", "2",
                 {{11, "\"\""},
                  {18, "123456"},
                  {22, "Y"},
                  {25, "X"},
                  {26, "County"},
                  {30, "X"},
                  {39, "X"},
                  {40, "6"},
                  {41, "Y"},
                  {46, "1"}}) +
        // No treasurer: the previous report's stays.
        formLine("4", "1", "0", {{25, "C"}, {26, "County"}, {40, "13"}, {46, "Y"}});
    writeDcf("rules.DCF_ZV", file);
    const auto result = runSaving();
    EXPECT_EQ(result.outcome, app::RunOutcome::Saved);

    EXPECT_EQ(rows("select repno, filed_yn, correction_num, Prev_Repno from cvr order by repno"),
              (std::vector<std::string>{"1|0|1|1", "2|-1|0|", "3|-1|0|", "4|-1|0|"}));
    EXPECT_EQ(
        rows("select from_date, thru_date, OffHldNum, no_actv, county_name, rpttyp_jan, "
             "rpttyp_jul, rpttyp_fin, rpttyp_mon, filer_coa, tmail_coa, itemize_all, "
             "tres_naml from cvr order by repno"),
        (std::vector<std::string>{"01/01/2026|06/30/2026||-1||0|0|0||0|0|0|",
                                  "01/01/2026|06/30/2026||-1||0|0|0||0|0|0|",
                                  "|06/30/2026|1234|0||-1|0|-1|JUN|-1|0|-1|Treasurer",
                                  "01/01/2026|06/30/2026||-1|County|0|0|0||0|0|0|Treasurer"}));
    EXPECT_NE(finalLog(result).find("Office Held Number field is longer than the 4 characters "
                                    "allowed. Field truncated in FORM record from '123456' to "
                                    "'1234'"),
              std::string::npos);
    EXPECT_EQ(view_.text("statbarMain").rfind("Processed ", 0), 0u);
}

// A treasurer reference that names no NAME record of the file must not hand
// the report the previous report's treasurer, who may be another person.
TEST_P(CoverSheetRunTest, ATreasurerThatIsNoNameRecordLeavesTheReportWithoutOne) {
    writeDcf("notreasurer.DCF_ZV", kHeader + kFilerOfName1 + kFilerName +
                                       treasurerLine("2", "First Treasurer", "Capital") +
                                       formLine("1", "1", "2") + formLine("2", "1", "7"));
    const auto result = runSaving();
    EXPECT_EQ(result.outcome, app::RunOutcome::Saved);
    EXPECT_EQ(
        rows("select repno, tres_naml, tres_namf, tres_phon, tres_phone_x, tmail_adr1, "
             "tmail_city from cvr order by repno"),
        (std::vector<std::string>{"1|First Treasurer|Pat|5551234|12|PO Box 9|Capital", "2||||||"}));
    EXPECT_EQ(rows("select tres_naml, tmail_city from FILERS"),
              std::vector<std::string>{"First Treasurer|Capital"});
    EXPECT_NE(finalLog(result).find("Error Description: Treasurer name id 7 is not a NAME record "
                                    "of the file. Report converted without a treasurer."),
              std::string::npos);
}

TEST_P(CoverSheetRunTest, AReportWithAnUnusableStartDateIsRefusedWithItsRows) {
    setCounters(2, 1);
    const std::string file =
        kHeader + kFilerOfName1 + kFilerName +
        // An unusable end date leaves the record-error flag set...
        formLine("1", "1", "0", {{12, "20261399"}}) +
        // ...which must not drop the next report; this one's start date is unusable.
        formLine("2", "1", "0", {{11, "20261399"}}) + rcptLine("20", "2", "1") +
        smryLine("21", "2") + formLine("3", "1", "0") + rcptLine("22", "3", "1");
    writeDcf("dates.DCF_ZV", file);
    const auto result = runSaving();
    EXPECT_EQ(result.outcome, app::RunOutcome::Saved);

    EXPECT_EQ(rows("select repno, thru_date from cvr order by repno"),
              (std::vector<std::string>{"1|13/99/2026", "2|06/30/2026"}));
    // Report 3 got number 2, the number that report 2's refused rows keep.
    EXPECT_EQ(rows("select rec_type, rec_num, repno, Status from IMPORTTEMP where rec_type in "
                   "('FORM', 'RCPT', 'SMRY') order by import_key"),
              (std::vector<std::string>{"FORM|1|0|I", "FORM|2|0|E", "RCPT|20|2|E", "SMRY|21|2|E",
                                        "FORM|2|0|I", "RCPT|22|2|I"}));
    const std::string log = finalLog(result);
    EXPECT_NE(log.find("Report start date is invalid. Record will not be imported."),
              std::string::npos);
    EXPECT_NE(log.find("RCPT,20,2,"), std::string::npos);
    EXPECT_NE(log.find("Report cover sheet was not converted. Record will not be imported."),
              std::string::npos);
    EXPECT_EQ(view_.count("lblErrorsNotImportedCount"), 3);
    EXPECT_EQ(view_.questions.back().kind, run::QuestionKind::SaveNotImported);
}

TEST_P(CoverSheetRunTest, AnEmptyCounterTableFailsTheRunAndKeepsNothing) {
    connection().statement("delete from repno").execute();
    writeDcf("two.DCF_ZV", kTwoReports);
    const auto before = contents();
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    const auto result = run();
    EXPECT_EQ(result.outcome, app::RunOutcome::Failed);
    EXPECT_EQ(contents(), before);
    EXPECT_NE(finalLog(result).find("---- (Procedure DCFImport)"), std::string::npos);
    EXPECT_NE(finalLog(result).find("The table repno holds no row"), std::string::npos);
}

// The file writes a quoted comma as "*": the names of a cover sheet have
// their commas back, but for the mailing address's zip and state codes
// (fields 33 and 34), which keep the "*".
TEST_P(CoverSheetRunTest, CoverSheetNamesGetTheirCommasBack) {
    const std::string filer = nameLine("1", {{7, "Doe* Jane"},
                                             {9, "Dr*"},
                                             {12, "1* Main"},
                                             {14, "Salem* East"},
                                             {15, "S*"},
                                             {16, "9*"}});
    const std::string treasurer = nameLine("2", {{7, "Roe* Pat"},
                                                 {12, "2* Oak"},
                                                 {30, "Box* 9"},
                                                 {32, "Town* West"},
                                                 {33, "8*"},
                                                 {34, "M*"}});
    writeDcf("commas.DCF_ZV",
             kHeader + kFilerOfName1 + filer + treasurer + formLine("1", "1", "2"));
    EXPECT_EQ(runSaving().outcome, app::RunOutcome::Saved);
    EXPECT_EQ(rows("select filer_naml, filer_namt, filer_adr1, filer_city, filer_stcd, filer_zip4, "
                   "tres_naml, tres_adr1, tmail_adr1, tmail_city, tmail_stcd, tmail_zip4 from cvr"),
              std::vector<std::string>{"Doe, Jane|Dr,|1, Main|Salem, East|S,|9,|Roe, Pat|2, "
                                       "Oak|Box, 9|Town, West|M*|8*"});
}

DCF_ON_ALL_DATABASES(CoverSheetRunTest);

} // namespace
} // namespace dcf::test
