// A run on a server converts in its scratch database and writes its rows to
// the server at the end: the rows are those a SQLite run of the same file
// makes; a value the server's columns cannot hold fails its own record with
// the server's own error, in its place in the log; a row the server refuses
// at the end fails the run, names the table and the row, and keeps nothing.
#include "db/error.h"
#include "db/value.h"
#include "dcf/control_names.h"
#include "dcf_generator.h"
#include "dcf_lines.h"
#include "log/log_entries.h"
#include "run_fixture.h"

#include <regex>

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

using Tables = std::map<std::string, std::vector<std::string>>;

// Keys aside, and every number in one form: SQLite hands amounts back as
// short as they go, the server with four places.
Tables comparable(db::Connection& connection) {
    Tables tables;
    for (auto& [table, rows] : tableContents(connection)) {
        for (std::string row : rows) {
            if (table == "IMPORTTEMP") {
                row.erase(0, row.find('|') + 1);
            }
            std::string same;
            std::size_t start = 0;
            while (start < row.size()) {
                const std::size_t end = row.find('|', start);
                const std::string value = row.substr(start, end - start);
                const auto amount = db::Currency::parse(value);
                same += (amount ? amount->toString() : value) + "|";
                start = end + 1;
            }
            tables[table].push_back(same);
        }
        std::sort(tables[table].begin(), tables[table].end());
    }
    return tables;
}

std::string masked(const std::string& log) {
    const std::string timed =
        std::regex_replace(log, std::regex(R"(\d{1,2}:\d{2}:\d{2}[AP]M)"), "<time>");
    return std::regex_replace(timed, std::regex(R"(\d{1,2}/\d{1,2}/\d{4})"), "<date>");
}

void answerEverything(RecordingView& view) {
    for (const run::QuestionKind kind :
         {run::QuestionKind::ConfirmRun, run::QuestionKind::DuplicateFiler,
          run::QuestionKind::SaveNotImported, run::QuestionKind::SaveMinor,
          run::QuestionKind::SaveClean}) {
        view.answer(kind, {yes()});
    }
}

// Two files for one filer, one after the other: the second is checked
// against the names, the filer's row and the counters the first stored,
// which a run on a server copies in and writes back.
TEST(ServerConversion, GeneratedFilesGiveTheRowsAndLogsOfASqliteRunInEveryTable) {
    std::string why;
    if (!postgresAvailable(why)) {
        if (postgresRequired()) {
            FAIL() << why;
        }
        GTEST_SKIP() << why;
    }
    const TempFolder files;
    const std::filesystem::path first = files.path() / "first.DCF_ZV";
    const std::filesystem::path second = files.path() / "second.DCF_ZV";
    bench::generateRunFile(first, 20000, 2000, 3);
    bench::generateRunFile(second, 5000, 1000, 4);
    std::filesystem::create_directory(files.path() / "logs");
    run::RunRequest request;
    request.logsFolder = files.path() / "logs";
    std::vector<std::string> logs;
    std::vector<Tables> converted;
    for (const Target target : {Target::NativeSqlite, Target::PostgreSQL}) {
        const TestDatabase database(target);
        const auto connection = database.connect();
        for (const std::filesystem::path& file : {first, second}) {
            RecordingView view;
            answerEverything(view);
            std::atomic<bool> cancel{false};
            request.file = app::selectedFile(file);
            const app::RunResult result = app::runConversion(request, *connection, view, cancel);
            ASSERT_EQ(result.outcome, app::RunOutcome::Saved) << targetName(target);
            logs.push_back(masked(readFile(result.logPath)));
        }
        converted.push_back(comparable(*connection));
    }
    EXPECT_GT(converted[0]["RCPT"].size(), 1000U);
    for (const auto& [table, rows] : converted[0]) {
        EXPECT_TRUE(rows == converted[1][table]) << table;
    }
    EXPECT_EQ(logs[0], logs[2]);
    EXPECT_EQ(logs[1], logs[3]);
}

using ServerConversionTest = RunTest;

// A report with three contributions from one contributor, the second for
// an amount of six digits before the point.
const std::string kReport =
    kHeader + "FLR,1,0,A,B,COH,F123456,X,Y,1\r\n" +
    nameLine("1", {{7, "Doe Campaign"}, {12, "100 Main St"}, {14, "Springfield"}, {15, "ST"}}) +
    nameLine("2", {{7, "Roe"}, {8, "Ann"}, {12, "2 Elm"}, {14, "Salem"}, {15, "OR"}}) +
    formLine("1", "1", "2") + rcptLine("10", "1", "2") +
    rcptLine("11", "1", "2", {{9, "123456.78"}}) + rcptLine("12", "1", "2") + smryLine("13", "1");

TEST_P(ServerConversionTest, AValueTheServersColumnCannotHoldFailsItsRecordWithTheServersError) {
    // The catalog, not the schema of the program, says what the server takes:
    // a row added, then the filer's row the second run copies in and
    // refreshes from its cover sheet.
    struct Case {
        const char* narrow;
        const char* refused; // the same value written by hand
        const char* widen;
        const char* procedure;
        const char* record;
    };
    const Case cases[] = {
        {"alter table RCPT alter column ctrib_amt type numeric(7,2)",
         "insert into RCPT (ctrib_amt) values (123456.78)",
         "alter table RCPT alter column ctrib_amt type numeric(19,4)", "ImportRCPT",
         "Record Number = 11"},
        {"alter table FILERS alter column tres_naml type varchar(2) using left(tres_naml, 2)",
         "insert into FILERS (tres_naml) values ('Roe')",
         "alter table FILERS alter column tres_naml type text", "ImportFORM",
         "Record Type = 'FORM'"},
    };
    writeDcf("report.DCF_ZV", kReport);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.narrow);
        connection().executeScript(c.narrow);
        std::string refusal;
        try {
            connection().executeScript(c.refused);
        } catch (const db::DbError& error) {
            refusal = error.message();
        }
        ASSERT_NE(refusal, "");
        view_ = RecordingView();
        answerEverything(view_);
        const app::RunResult result = run();
        EXPECT_EQ(result.outcome, app::RunOutcome::Saved);
        EXPECT_EQ(result.counts.unexpectedErrors, 1);
        // The server's own words, in the record's own block.
        const std::string log = finalLog(result);
        const std::size_t block = log.find(std::string("(Procedure ") + c.procedure + ")");
        ASSERT_NE(block, std::string::npos) << log;
        EXPECT_NE(log.find(c.record, block), std::string::npos) << log;
        EXPECT_NE(log.find("---- Error Description: " + refusal, block), std::string::npos) << log;
        connection().executeScript(c.widen);
    }
    // Two of the first run's contributions; none of the second's, whose
    // report was not converted.
    EXPECT_EQ(count("select count(*) from RCPT"), 2);
}

// Rules no catalog column shows: only the server knows them. The driver
// reports a trigger's refusal over two lines; the log, its entries and the
// boxes show it on one, as every database's.
TEST_P(ServerConversionTest, ARowTheServerRefusesAtTheEndFailsTheRunNamingItAndKeepsNothing) {
    const std::pair<const char*, const char*> rules[] = {
        {"alter table RCPT add constraint no_item_11 check (item_id is distinct from '11')",
         "no_item_11"},
        {"create function refuse_item_11() returns trigger language plpgsql as $$ begin if "
         "new.item_id = '11' then raise exception 'item 11 is not wanted'; end if; return new; "
         "end $$; create trigger refuse_item_11 before insert on RCPT for each row execute "
         "function refuse_item_11()",
         "item 11 is not wanted"},
    };
    // Every line break the program writes is CR LF; the driver's was LF.
    const auto bareLineFeed = [](const std::string& text) {
        return std::regex_search(text, std::regex("(^|[^\r])\n"));
    };
    writeDcf("report.DCF_ZV", kReport);
    for (const auto& [rule, reason] : rules) {
        SCOPED_TRACE(rule);
        connection().executeScript(rule);
        const auto before = contents();
        view_ = RecordingView();
        answerEverything(view_);
        const app::RunResult result = run();
        EXPECT_EQ(result.outcome, app::RunOutcome::Failed);
        EXPECT_EQ(contents(), before);
        const std::string log = finalLog(result);
        EXPECT_NE(log.find("---- (Procedure DCFImport)"), std::string::npos) << log;
        EXPECT_FALSE(bareLineFeed(log)) << log;
        const std::size_t at =
            log.find("---- Error Description: The server refused a row of rcpt (");
        ASSERT_NE(at, std::string::npos) << log;
        const std::string line = log.substr(at, log.find("\r\n", at) - at);
        EXPECT_NE(line.find("item_id = 11,"), std::string::npos) << line;
        EXPECT_NE(line.find(reason), std::string::npos) << line;

        const std::vector<log::Entry> entries = log::readEntries(result.entriesPath);
        ASSERT_EQ(entries.size(), 1U);
        EXPECT_EQ(entries[0].outcome, log::EntryOutcome::RunFailed);
        EXPECT_EQ("---- Error Description: " + entries[0].message, line);
        ASSERT_FALSE(view_.messages.empty());
        EXPECT_FALSE(bareLineFeed(view_.messages.back().text)) << view_.messages.back().text;
    }
}

TEST_P(ServerConversionTest, ACancelDuringTheTransferKeepsNothingOfTheRun) {
    const auto before = contents();
    writeDcf("report.DCF_ZV", kReport);
    answerEverything(view_);
    view_.atYieldAfter(control::lblProcessingMessage, "Writing the converted records to the server",
                       [this] { cancelRequested_ = true; });
    const app::RunResult result = run();
    EXPECT_EQ(result.outcome, app::RunOutcome::Cancelled);
    EXPECT_EQ(contents(), before);
    EXPECT_NE(finalLog(result).find("Conversion canceled by user. No files imported."),
              std::string::npos)
        << finalLog(result);
}

DCF_ON_DATABASE_SERVER(ServerConversionTest);

} // namespace
} // namespace dcf::test
