#include "dcf/control_names.h"
#include "importers/importers.h"
#include "schedule_fixture.h"

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

using importers::ImporterEnd;
using importers::kImportCORR;
using importers::kImportFINL;
using importers::kImportSMRY;
using importers::kImportTEXT;

// A summary line of form `form` with amounts 10 and 25 unless changed.
std::map<int, std::string> summary(const std::string& form, const std::string& line,
                                   const std::string& amount = "10",
                                   const std::string& entered = "25") {
    return {{6, form}, {7, line}, {8, amount}, {9, entered}};
}

using ReportRecordImportTest = ScheduleTest;

TEST_P(ReportRecordImportTest, SummaryLinesKeepTheEnteredFigureWhereTheFormOrLineAsksForIt) {
    stage("SMRY", "1", summary("COH-UC", "1"));
    stage("SMRY", "2", summary("COH", "5"));
    stage("SMRY", "3", summary("COH", "2"));
    // Both rules apply in turn: the entered figure moves up, then is gone.
    stage("SMRY", "4", summary("COH-UC", "6"));

    EXPECT_EQ(convert(kImportSMRY).added, 4);
    // Numeric columns read alike on every database only as whole cents.
    EXPECT_EQ(rows("select filer_id, repno, rec_type, form_type, line_item, "
                   "cast(amount * 100 as integer), cast(user_entered * 100 as integer) "
                   "from SMRY order by line_item"),
              (std::vector<std::string>{"F1|1|SMRY|COH-UC|1|2500|0", "F1|1|SMRY|COH|2|1000|2500",
                                        "F1|1|SMRY|COH|5|2500|0", "F1|1|SMRY|COH-UC|6|0|0"}));
    EXPECT_EQ(view_.count(control::lblImpSummaryCount), 4);
    EXPECT_EQ(log(), "");
}

TEST_P(ReportRecordImportTest, ASummaryAmountThatIsNoNumberFailsItsRowWithTheAmountsReadSoFar) {
    stage("SMRY", "1", summary("COH", "2", "10", ""));
    stage("SMRY", "2", summary("COH", "3", "1x"));
    stage("SMRY", "3", summary("COH", "4"));

    const auto result = convert(kImportSMRY);
    EXPECT_EQ(result.added, 1);
    EXPECT_EQ(result.failed, 2);
    EXPECT_EQ(statuses("SMRY"), (std::vector<std::string>{"E", "E", "I"}));
    EXPECT_EQ(rows("select line_item from SMRY"), std::vector<std::string>{"4"});
    const std::string head = "(Procedure ImportSMRY)\r\nInput Record Causing Error: \r\n"
                             "Record Type = 'SMRY'\r\nFiler ID = F1\r\nReport # = 1\r\n"
                             "Form_type = COH\r\n";
    const std::string tail = "---- Error # 0\r\n---- Error Source: dcfconvert\r\n"
                             "---- Error Description: Amount '";
    EXPECT_EQ(blocks(), (std::vector<std::string>{
                            head + "Line_item = 2\r\nLine Amount = 10\r\nUser Entered = \r\n" +
                                tail + "' is not a number.\r\n",
                            head + "Line_item = 3\r\nLine Amount = \r\nUser Entered = \r\n" + tail +
                                "1x' is not a number.\r\n"}));
    EXPECT_EQ(view_.count(control::lblImpSummaryCount), 1);
}

TEST_P(ReportRecordImportTest, TextsFillTheirSchedulesMemoOrTheReportsOnlyCoverSheet) {
    const std::string long400 = std::string(399, 't') + "!";
    coverSheet("2", "COH", "-1", "0");
    coverSheet("4", "COH", "-1", "0");
    coverSheet("4", "COH", "-1", "0");
    stage("TEXT", "1", {{6, "A"}, {7, "First A"}});
    stage("TEXT", "2", {{6, "M"}, {7, "First M"}});
    stage("TEXT", "3", {{6, "C"}, {7, ""}}, "1", long400);
    // An empty text clears memo A but leaves memo M as it was.
    stage("TEXT", "4", {{6, "M"}, {7, "\"\""}});
    stage("TEXT", "5", {{6, "A"}, {7, "\"\""}});
    stage("TEXT", "6", {{6, "Z"}, {7, "Cover memo"}}, "2");
    stage("TEXT", "7", {{6, "Z"}, {7, "No cover"}}, "3");
    stage("TEXT", "8", {{6, "Z"}, {7, "Two covers"}}, "4");

    EXPECT_EQ(convert(kImportTEXT).added, 8);
    EXPECT_EQ(rows("select filer_id, memo_a, memo_b, memo_c, memo_M from memos where repno = '1'"),
              std::vector<std::string>{"F1||null|" + long400 + "|First M"});
    EXPECT_EQ(rows("select repno, Memo from cvr order by repno"),
              (std::vector<std::string>{"2|Cover memo", "4|null", "4|null"}));
    EXPECT_EQ(view_.count(control::lblImpTextCount), 8);
    EXPECT_EQ(statuses("TEXT"), std::vector<std::string>(8, "I"));
}

TEST_P(ReportRecordImportTest, FinalReportBoxesAreTrueOnlyForOneAndY) {
    stage("FINL", "1", {{6, "F"}, {7, "1"}, {8, "0"}, {9, "Y"}}, "1");
    stage("FINL", "2", {{6, "F"}, {7, "0"}, {8, "1"}, {9, "N"}}, "2");

    EXPECT_EQ(convert(kImportFINL).added, 2);
    EXPECT_EQ(rows("select filer_id, repno, rec_type, form_type, "
                   "case when boxa_cd then 1 else 0 end, case when boxb_cd then 1 else 0 end, "
                   "case when oh_ack_cb then 1 else 0 end from FINL order by repno"),
              (std::vector<std::string>{"F1|1|FINL|F|1|0|1", "F1|2|FINL|F|0|1|0"}));
    // No count is kept for final reports.
    for (const std::string& call : view_.calls) {
        EXPECT_EQ(call.find(" = "), std::string::npos) << call;
    }
}

// A database error in the middle row: a unique index on repno refuses the
// second row of report 1, alike on every database.
TEST_P(ReportRecordImportTest, FinalReportsAndCorrectionsEndAtTheirFirstFailedRow) {
    connection().executeScript("create unique index ux_finl on FINL (repno)");
    connection().executeScript("create unique index ux_corr on CORR (repno)");
    for (const auto& [type, importer] :
         {std::pair{"FINL", &kImportFINL}, std::pair{"CORR", &kImportCORR}}) {
        stage(type, "1", {{6, "F"}, {7, "1"}}, "1");
        stage(type, "2", {{6, "F"}, {7, "1"}}, "1");
        stage(type, "3", {{6, "F"}, {7, "1"}}, "2");

        const auto result = convert(*importer);
        EXPECT_EQ(result.end, ImporterEnd::EndedAtError) << type;
        EXPECT_EQ(result.added, 1) << type;
        EXPECT_EQ(statuses(type), (std::vector<std::string>{"I", "E", "I"})) << type;
        EXPECT_EQ(rows(std::string("select repno from ") + type), std::vector<std::string>{"1"});
    }
    const auto found = blocks();
    ASSERT_EQ(found.size(), 2U);
    for (std::size_t i = 0; i < found.size(); ++i) {
        const std::string type = i == 0 ? "FINL" : "CORR";
        const std::string& block = found[i];
        EXPECT_TRUE(block.starts_with("(Procedure Import" + type +
                                      ")\r\nInput Record Causing Error: \r\nRecord Type = '" +
                                      type +
                                      "'\r\nFiler ID = F1\r\nReport # = 1\r\n"
                                      "Record Number = 2\r\n---- Error # "))
            << block;
        EXPECT_TRUE(block.ends_with("\r\n---- Error On line # 9\r\n")) << block;
    }
}

TEST_P(ReportRecordImportTest, EachCorrectionStoresOnlyItsOwnExplanation) {
    const std::string long300 = std::string(299, 'e') + ".";
    stage("CORR", "1", {{6, "C1"}, {7, "Wrong total"}});
    stage("CORR", "2", {{6, "C2"}, {7, "\"\""}});
    stage("CORR", "3", {{6, "C3"}, {7, ""}}, "1", long300);
    stage("CORR", "4", {{6, "C4"}, {7, "\"\""}});

    EXPECT_EQ(convert(kImportCORR).added, 4);
    EXPECT_EQ(rows("select filer_id, repno, rec_type, form_type, explain from CORR "
                   "order by form_type"),
              (std::vector<std::string>{"F1|1|CORR|C1|Wrong total", "F1|1|CORR|C2|",
                                        "F1|1|CORR|C3|" + long300, "F1|1|CORR|C4|"}));
}

DCF_ON_ALL_DATABASES(ReportRecordImportTest);

} // namespace
} // namespace dcf::test
