#include "log/log_entries.h"
#include "run_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <regex>
#include <sstream>

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

// The log with what changes from run to run masked: the times, the dates of
// the error blocks and the folder the file was converted from.
std::string maskedLog(std::string log, const std::string& dcfPath) {
    for (auto at = log.find(dcfPath); at != std::string::npos; at = log.find(dcfPath, at)) {
        log.replace(at, dcfPath.size(), "full-report.DCF_ZV");
    }
    log = std::regex_replace(log, std::regex(R"(\d{1,2}:\d{2}:\d{2}[AP]M)"), "<time>");
    return std::regex_replace(log, std::regex(R"(\d{1,2}/\d{1,2}/\d{4} <time>)"), "<date> <time>");
}

// The lines of a text, without their line ends.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.ends_with('\r')) {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

class FullReportRunTest : public RunTest {
protected:
    std::vector<std::string> rows(const std::string& sql) { return selectRows(connection(), sql); }

    // The entries file beside the log: one row per entry of the log, in its
    // order, each naming the line its record came from; and, as a whole, the
    // expected file.
    void expectEntriesOfTheLog(const app::RunResult& result, const std::filesystem::path& dcf,
                               const std::string& log) {
        ASSERT_EQ(result.entriesPath, log::entriesFileName(result.logPath));
        const std::vector<log::Entry> entries = log::readEntries(result.entriesPath);
        std::vector<std::string> messages;
        for (const log::Entry& entry : entries) {
            messages.push_back(entry.message);
        }
        std::vector<std::string> described;
        for (const std::string& line : linesOf(log)) {
            const std::size_t at = line.find("Error Description: ");
            if (at == 0 || at == 5) {
                described.push_back(line.substr(at + 19));
            }
        }
        EXPECT_EQ(messages, described);
        const std::vector<std::string> lines = linesOf(readFile(dcf));
        for (const log::Entry& entry : entries) {
            ASSERT_TRUE(entry.record.lineNumber) << entry.message;
            const std::size_t line = static_cast<std::size_t>(*entry.record.lineNumber);
            ASSERT_LE(line, lines.size());
            EXPECT_EQ(lines[line - 1].rfind(entry.record.type + ",", 0), 0U)
                << "line " << line << ": " << entry.message;
        }

        const std::filesystem::path expected = DCF_TEST_DATA_DIR "/full-report.entries.csv";
        const std::string actual = readFile(result.entriesPath);
        if (std::getenv("DCF_UPDATE_EXPECTED_LOGS") != nullptr &&
            GetParam() == Target::NativeSqlite) {
            writeFile(expected, actual);
        }
        EXPECT_EQ(actual, readFile(expected));
    }
};

// The sample with every record type: two reports, corrected and refused
// records, one that fails. Amounts are read in cents and Booleans as 1 or 0,
// alike on every database.
TEST_P(FullReportRunTest, TheFullSampleConvertsWithItsExpectedLog) {
    const auto dcf =
        writeDcf("full-report.DCF_ZV", readFile(DCF_SAMPLES_DIR "/full-report.DCF_ZV"));
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    view_.answer(run::QuestionKind::SaveNotImported, {yes()});
    const app::RunResult result = run();
    ASSERT_EQ(result.outcome, app::RunOutcome::Saved);

    EXPECT_EQ(rows("select repno, from_date, thru_date, tres_naml, tmail_adr1, Memo from cvr "
                   "order by repno"),
              (std::vector<std::string>{"1|01/01/2026|06/30/2026|Alvarez|PO Box 12|Cover sheet "
                                        "note: the committee moved its office to 12 Orchard Way.",
                                        "2|07/01/2026|12/31/2026|Alvarez|PO Box 12|"}));
    EXPECT_EQ(rows("select repno, item_id, cmtte_type, Cvr2_naml, Cvr2_zip4, entity_cd, "
                   "tres_naml, tres_namf from NOTICE order by item_id"),
              (std::vector<std::string>{"1|112|C|Citizens for Valley Trails|54100|E|Okoye|Grace",
                                        "1|113|I|Lindqvist|54105|I||"}));
    EXPECT_EQ(
        rows("select item_id, text_name, supoppsubj, supopp_cd, officename, ballot_no, "
             "election_dt from MEASURES order by item_id"),
        (std::vector<std::string>{"114|Maple Valley parks and trails levy|M|S||7|11/03/2026",
                                  "115|Dana Whitfield|C|S|County Commissioner District F||"}));
    EXPECT_EQ(
        rows("select repno, form_type, line_item, cast(amount * 100 as integer), "
             "cast(user_entered * 100 as integer) from SMRY order by repno, line_item"),
        (std::vector<std::string>{"1|COH|1|183500|0", "1|COH|5|120000|0", "2|COH-UC|1|7500|0"}));
    EXPECT_EQ(rows("select repno, item_id, backref_id, rec_type, cand_naml, OffHldNam, OffHldNum, "
                   "OffSeekNam from BENEFIT"),
              std::vector<std::string>{"1|105|103|EXPN|Whitfield|County Commissioner|4|"
                                       "Representative to the General "});
    EXPECT_EQ(rows("select rec_type, item_id, cast(ctrib_amt * 100 as integer), ctrib_naml, "
                   "length(ctrib_dscr) from RCPT order by item_id"),
              (std::vector<std::string>{"RCPT|100|25000|Chen|0", "RCPT|101|8500|Patel|100",
                                        "PLDG|102|50000|Maple Valley Builders PAC|28",
                                        "RCPT|200|15000|Chen|0"}));
    EXPECT_EQ(rows("select repno, item_id, cast(expn_amt * 100 as integer), payee_naml from EXPN "
                   "order by item_id"),
              (std::vector<std::string>{"1|103|42000|Valley Print Shop",
                                        "2|201|9550|Valley Print Shop"}));
    EXPECT_EQ(rows("select item_id, cast(incur_amt * 100 as integer) from CRED"),
              std::vector<std::string>{"106|4000"});
    EXPECT_EQ(rows("select rec_type, item_id, asset_dscr from ASSET"),
              std::vector<std::string>{"ASSET|107|Sound system and stage lighting"});
    EXPECT_EQ(rows("select item_id, cast(loan_amt * 100 as integer), lend_naml from LOAN"),
              std::vector<std::string>{"108|200000|First Maple Bank"});
    EXPECT_EQ(rows("select item_id, backref_id, rec_type, guar_naml from GUAR order by item_id"),
              (std::vector<std::string>{"109|108|LOAN|Brennan", "111|110|DEBT|Brennan"}));
    EXPECT_EQ(rows("select item_id, cred_naml from DEBT"),
              std::vector<std::string>{"110|Ridge Audio Rentals"});
    EXPECT_EQ(rows("select repno, memo_a, memo_b from memos order by repno"),
              (std::vector<std::string>{
                  "1|Contributions of $50 or less are reported in total on line 1.|",
                  "2||Pledges carried over from the first half of the year."}));
    EXPECT_EQ(rows("select repno, case when boxa_cd then 1 else 0 end, case when boxb_cd then 1 "
                   "else 0 end, case when oh_ack_cb then 1 else 0 end from FINL"),
              std::vector<std::string>{"2|1|0|1"});
    EXPECT_EQ(rows("select repno, explain from CORR"),
              std::vector<std::string>{"2|Corrects the date of the thank-you card expenditure."});
    EXPECT_EQ(rows("select rec_type, rec_num from IMPORTTEMP where Status = 'E' order by rec_num"),
              (std::vector<std::string>{"EXPN|104", "SMRY|202"}));

    const std::filesystem::path expectedLog = DCF_TEST_DATA_DIR "/full-report.log";
    const std::string actual = maskedLog(finalLog(result), dcf.string());
    // A change that alters the log on purpose writes the new expected log
    // with DCF_UPDATE_EXPECTED_LOGS=1.
    if (std::getenv("DCF_UPDATE_EXPECTED_LOGS") != nullptr && GetParam() == Target::NativeSqlite) {
        writeFile(expectedLog, actual);
    }
    EXPECT_EQ(actual, readFile(expectedLog));
    expectEntriesOfTheLog(result, dcf, actual);

    // The window says what each step works on, importer by importer.
    std::vector<std::string> steps;
    const std::string prefix = "lblProcessingMessage: ";
    for (const std::string& call : view_.calls) {
        if (call.starts_with(prefix) && (steps.empty() || steps.back() != call)) {
            steps.push_back(call.substr(prefix.size()));
        }
    }
    // A run on a server reads the filer's records from there first, and
    // writes its rows there once it has converted them.
    if (GetParam() == Target::PostgreSQL) {
        ASSERT_GE(steps.size(), 3U);
        EXPECT_EQ(steps.front(), "Reading the filer's records from the server");
        EXPECT_EQ(steps[steps.size() - 2], "Writing the converted records to the server");
        steps.erase(steps.end() - 2);
        steps.erase(steps.begin());
    }
    EXPECT_EQ(steps, (std::vector<std::string>{
                         "Processing input records from DCF file.",
                         "Processing name records from DCF file", "Processing Report Records",
                         "Processing Notice Records", "Processing Activity/Purpose Records",
                         "Processing Summary Records", "Processing Candidate Records",
                         "Processing Contribution/Pledge Records", "Processing Expenditure Records",
                         "Processing Credit Records", "Processing Asset Records",
                         "Processing Loan Records", "Processing Guarantor Records",
                         "Processing Outstanding Loan Records", "Processing Memo Records",
                         "Processing Final Report Records", "Processing Correction Records",
                         "Finished converting QORVEX data file"}));

    // Each importer moves the bar over its own rows: the contributions and
    // the pledge.
    const auto contributions =
        std::ranges::find(view_.calls, prefix + "Processing Contribution/Pledge Records");
    const auto expenditures =
        std::ranges::find(view_.calls, prefix + "Processing Expenditure Records");
    std::vector<std::string> bar;
    std::copy_if(contributions, expenditures, std::back_inserter(bar),
                 [](const std::string& call) { return call.starts_with("pgbImport"); });
    EXPECT_EQ(bar, (std::vector<std::string>{"pgbImport 1/4", "pgbImport 2/4", "pgbImport 3/4",
                                             "pgbImport 4/4"}));
}

DCF_ON_ALL_DATABASES(FullReportRunTest);

} // namespace
} // namespace dcf::test
