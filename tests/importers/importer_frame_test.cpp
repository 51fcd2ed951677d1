#include "importers/importer_frame.h"

#include "db/error.h"
#include "dcf/control_names.h"
#include "recording_view.h"
#include "staging/construct_input_record.h"
#include "staging/import_temp.h"
#include "test_database.h"
#include "test_run.h"

#include <set>

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

using importers::ImporterDescription;
using importers::ImporterEnd;
using importers::ImportRow;
using importers::LineNumberLine;
using importers::RowOutcome;

// The importer of these tests: each staged TEXT row says in field7 what its
// conversion does.
RowOutcome convertByInstruction(ImportRow& row) {
    const std::string what = row.staged().field(7);
    if (what == "fail") {
        throw db::DbError("22001", 7, "value too long", "test driver");
    }
    if (what == "lose") {
        // The database ends the transaction by itself, then the row fails.
        row.db().executeScript("ROLLBACK");
        throw db::DbError("HY000", 13, "database or disk is full", "test driver");
    }
    if (what == "gone") {
        throw db::DbError("08S01", 0, "server closed the connection", "test driver");
    }
    if (what == "reject") {
        row.reject("Name is missing. Record will not be imported!");
        return RowOutcome::rejected("Memo is missing. Record will not be imported.");
    }
    if (what == "skip") {
        return RowOutcome::skipped();
    }
    if (what == "stop") {
        return RowOutcome::stopRun("The memos cannot be converted.");
    }
    if (what == "warn") {
        row.warn("Memo cut to 30 characters.");
        row.warn("Memo title cut to 4 characters.");
    }
    row.db()
        .statement("insert into memos (filer_id, repno, memo_a) values (?, ?, ?)")
        .run("F1", row.staged().text("repno"), row.staged().text("rec_num"));
    return RowOutcome::added();
}

std::string addedMemo(const ImportRow& row) {
    return "Added memo " + std::string(row.recordNumber());
}

const ImporterDescription kMemos{
    .procedure = "ImportMEMO",
    .recordTypes = {"TEXT"},
    .convert = convertByInstruction,
    .countType = "TEXT",
    .statusText = addedMemo,
    .blockRecordType = "TEXT",
};

class ImporterFrameTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        state_.request.logsFolder = logs_.path();
        state_.run.filer.id = "F1";
        state_.run.recordCounter = 9;
    }

    // Stages one TEXT row per instruction, numbered from 1, report "R" + n.
    void stage(const std::vector<std::string>& instructions) {
        auto& insert = connection().statement(
            "insert into IMPORTTEMP (rec_type, rec_num, repno, Status, field6, field7) "
            "values (?, ?, ?, ?, ?, ?)");
        int n = 0;
        for (const std::string& instruction : instructions) {
            ++n;
            insert.run("TEXT", std::to_string(n), "R" + std::to_string(n), "I", "A", instruction);
        }
    }

    importers::ImporterResult convert(const ImporterDescription& importer) {
        run::RunContext context = state_.context(connection(), view_);
        context.transaction = transaction_.get();
        staging::ImportTemp importTemp(connection());
        importers::ImporterContext importers{
            context, importTemp, {importTemp.nameRecords(), {}}, {}, {}};
        return importers::runImporter(importers, importer);
    }

    std::vector<std::string> column(const std::string& sql) {
        std::vector<std::string> values;
        auto select = connection().prepare(sql);
        select->execute();
        while (select->next()) {
            values.push_back(db::toText(select->value(0)));
        }
        return values;
    }

    std::vector<std::string> statuses() {
        return column("select Status from IMPORTTEMP order by import_key");
    }

    // The log without the first line of each block, which holds the time.
    std::string log() {
        std::string text = readFile(logs_.path() / "LogFile.txt");
        for (std::size_t at = text.find("**** Error with file: "); at != std::string::npos;
             at = text.find("**** Error with file: ", at + 1)) {
            text.replace(at, text.find("\r\n", at) - at, "****");
        }
        return text;
    }

    TempFolder logs_;
    TestRun state_;
    RecordingView view_;
    std::unique_ptr<db::Transaction> transaction_;
};

TEST_P(ImporterFrameTest, AddedRowsAreCountedAndShownAndAFailingRowIsTrappedAlone) {
    stage({"add", "add", "fail", "add", "add"});
    const auto result = convert(kMemos);

    EXPECT_EQ(result.end, ImporterEnd::Completed);
    EXPECT_EQ(result.added, 4);
    EXPECT_EQ(result.failed, 1);
    EXPECT_EQ(column("select memo_a from memos order by memo_a"),
              (std::vector<std::string>{"1", "2", "4", "5"}));
    EXPECT_EQ(statuses(), (std::vector<std::string>{"I", "I", "E", "I", "I"}));
    EXPECT_EQ(state_.run.counts.unexpectedErrors, 1);
    EXPECT_EQ(state_.run.counts.imported("TEXT"), 4);
    EXPECT_EQ(view_.count(control::lblImpTextCount), 4);
    EXPECT_EQ(view_.text(control::statbarMain), "Added memo 5");
    EXPECT_EQ(log(), "****\r\n(Procedure ImportMEMO)\r\nInput Record Causing Error: \r\n"
                     "Record Type = 'TEXT'\r\nFiler ID = F1\r\nReport # = R3\r\n"
                     "Record Number = 3\r\n---- Error # 22001 (7)\r\n"
                     "---- Error Source: test driver\r\n"
                     "---- Error Description: value too long\r\n");
}

TEST_P(ImporterFrameTest, EntriesAreWrittenInTheOrderTheyAriseWithTheRowsOwnRecord) {
    stage({"warn", "reject", "skip"});
    const auto result = convert(kMemos);

    EXPECT_EQ(result.added, 1);
    EXPECT_EQ(result.addedWithWarnings, 1);
    EXPECT_EQ(result.rejected, 1);
    EXPECT_EQ(result.skipped, 1);
    EXPECT_EQ(statuses(), (std::vector<std::string>{"I", "E", "I"}));
    EXPECT_EQ(state_.run.counts.importedWithError, 2);
    EXPECT_EQ(state_.run.counts.notImported, 2) << "two severe entries for the rejected row";
    EXPECT_EQ(view_.count(control::lblImpTextCount), 1) << "only the added row counts";
    EXPECT_EQ(view_.text(control::statbarMain), "Added memo 1")
        << "a rejected or skipped row shows nothing";
    const std::string tail = std::string(43, ',');
    EXPECT_EQ(log(), "Input Record Causing Error: \r\nTEXT,1,R1,,,A,warn" + tail.substr(4) +
                         "\r\nError Description: Memo cut to 30 characters.\r\n\r\n\r\n"
                         "Input Record Causing Error: \r\nTEXT,1,R1,,,A,warn" +
                         tail.substr(4) +
                         "\r\nError Description: Memo title cut to 4 characters.\r\n\r\n\r\n"
                         "Input Record Causing Error: \r\nTEXT,2,R2,,,A,reject" +
                         tail.substr(4) +
                         "\r\nError Description: Name is missing. Record will not be "
                         "imported!\r\n\r\n\r\n"
                         "Input Record Causing Error: \r\nTEXT,2,R2,,,A,reject" +
                         tail.substr(4) +
                         "\r\nError Description: Memo is missing. Record will not be "
                         "imported.\r\n\r\n\r\n");
}

TEST_P(ImporterFrameTest, TheBlockFollowsItsDescription) {
    ImporterDescription importer = kMemos;
    importer.blockRecordType = "RCPT";
    importer.reportNumberColumn = "rec_num";
    importer.identifyingLines = [](const ImportRow& row) {
        return std::vector<std::string>{
            "Contributor Name = " + row.run().filer.id,
            "---- Input Record Causing Error: '" +
                staging::ConstructInputRecord(row.staged()).substr(0, 13) + "'"};
    };
    importer.errorNumberLine = false;
    importer.lineNumberLine = LineNumberLine::LowerCase;
    importer.logPathLine = true;
    stage({"fail"});
    convert(importer);
    EXPECT_EQ(log(), "****\r\n(Procedure ImportMEMO)\r\nInput Record Causing Error: \r\n"
                     "Record Type = 'RCPT'\r\nFiler ID = F1\r\nReport # = 1\r\n"
                     "Contributor Name = F1\r\n---- Input Record Causing Error: 'TEXT,1,R1,,,A'"
                     "\r\n---- Error Source: test driver\r\n"
                     "---- Error Description: value too long\r\n---- Error on line # 9\r\n"
                     "-----Error will be Logged to this Error File: " +
                         (logs_.path() / "LogFile.txt").string() + "\r\n");

    importer = kMemos;
    importer.lineNumberLine = LineNumberLine::Capital;
    stage({"fail"});
    convert(importer);
    EXPECT_NE(log().find("---- Error Description: value too long\r\n---- Error On line # 9\r\n"),
              std::string::npos);
}

TEST_P(ImporterFrameTest, EndingAtTheFirstErrorAndKeepingNoCount) {
    ImporterDescription importer = kMemos;
    importer.endAtFirstError = true;
    importer.countType = nullptr;
    stage({"add", "fail", "add"});
    const auto result = convert(importer);

    EXPECT_EQ(result.end, ImporterEnd::EndedAtError);
    EXPECT_EQ(column("select memo_a from memos"), (std::vector<std::string>{"1"}));
    EXPECT_EQ(view_.count(control::lblImpTextCount), -1) << "no count was shown";
    EXPECT_EQ(state_.run.counts.imported("TEXT"), 0);
    EXPECT_EQ(view_.text(control::statbarMain), "Added memo 1") << "the status is still shown";
}

TEST_P(ImporterFrameTest, CancelIsReportedAfterTheRowAndOnlyWhereTheImporterAnswersIt) {
    stage({"add", "add", "add"});
    transaction_ = std::make_unique<db::Transaction>(connection());
    view_.atYieldAfter(control::statbarMain, "Added memo 2",
                       [this] { state_.cancelRequested = true; });
    const auto cancelled = convert(kMemos);
    EXPECT_EQ(cancelled.end, ImporterEnd::Cancelled);
    EXPECT_EQ(cancelled.added, 2) << "the row being handled is finished, no later row converted";
    EXPECT_TRUE(transaction_->open()) << "rolling back is the driver's";
    EXPECT_FALSE(std::filesystem::exists(logs_.path() / "LogFile.txt"));
    transaction_->rollback();

    ImporterDescription importer = kMemos;
    importer.testCancel = false;
    state_.cancelRequested = true;
    const auto ignored = convert(importer);
    EXPECT_EQ(ignored.end, ImporterEnd::Completed);
    EXPECT_EQ(ignored.added, 3);
}

TEST_P(ImporterFrameTest, AStopShowsItsMessageAndCancelsTheRun) {
    ImporterDescription importer = kMemos;
    importer.beforeFirstRow = [](importers::ImporterContext&,
                                 std::size_t rows) -> std::optional<std::string> {
        if (rows == 1) {
            return std::nullopt;
        }
        return "Exactly one memo, please.";
    };
    stage({"add", "add"});
    auto result = convert(importer);
    EXPECT_EQ(result.end, ImporterEnd::Stopped);
    EXPECT_EQ(result.added, 0);
    ASSERT_EQ(view_.messages.size(), 1U);
    EXPECT_EQ(view_.messages[0].text, "Exactly one memo, please.");
    EXPECT_TRUE(state_.cancelRequested);

    connection().statement("delete from IMPORTTEMP").execute();
    state_.cancelRequested = false;
    stage({"stop", "add"});
    result = convert(kMemos);
    EXPECT_EQ(result.end, ImporterEnd::Stopped);
    EXPECT_TRUE(state_.cancelRequested);
    EXPECT_EQ(view_.messages.back().text, "The memos cannot be converted.");
    EXPECT_TRUE(column("select memo_a from memos").empty());
}

TEST_P(ImporterFrameTest, AFailureThatEndsTheTransactionEndsTheRunInsteadOfTheRow) {
    for (const char* instruction : {"lose", "gone"}) {
        connection().statement("delete from IMPORTTEMP").execute();
        stage({"add", instruction, "add"});
        transaction_ = std::make_unique<db::Transaction>(connection());
        try {
            convert(kMemos);
            ADD_FAILURE() << instruction << ": the run went on";
        } catch (const db::DbError& error) {
            EXPECT_TRUE(error.endsTransaction()) << instruction;
        }
        EXPECT_EQ(state_.run.counts.unexpectedErrors, 0) << "not one row's problem";
        EXPECT_FALSE(std::filesystem::exists(logs_.path() / "LogFile.txt"))
            << "the driver writes the run's one block";
        transaction_->rollback();
        transaction_.reset();
    }
}

// Rows are read a slice at a time: every row of a walk longer than a slice is
// converted once, in order, and a row refused before the walk is passed
// over wherever its slice starts.
TEST_P(ImporterFrameTest, RowsOfManySlicesAreEachConvertedOnceInOrder) {
    const std::size_t rows = 2 * staging::ImportTemp::kSliceRows + 500;
    std::vector<std::string> instructions(rows, "add");
    instructions[staging::ImportTemp::kSliceRows - 1] = "reject";
    instructions[staging::ImportTemp::kSliceRows] = "fail";
    instructions[rows - 100] = "skip";
    stage(instructions);
    const std::string refused = std::to_string(staging::ImportTemp::kSliceRows + 500);
    connection().statement("update IMPORTTEMP set Status = ? where rec_num = ?").run("E", refused);

    const auto result = convert(kMemos);
    EXPECT_EQ(result.end, ImporterEnd::Completed);
    EXPECT_EQ(result.added, static_cast<int>(rows) - 4);
    EXPECT_EQ(result.rejected, 1);
    EXPECT_EQ(result.failed, 1);
    EXPECT_EQ(result.skipped, 1);
    const std::vector<std::string> added = column("select memo_a from memos");
    EXPECT_EQ(added.size(), rows - 4);
    EXPECT_EQ(std::set<std::string>(added.begin(), added.end()).size(), added.size());
    EXPECT_EQ(view_.text(control::statbarMain), "Added memo " + std::to_string(rows));
    EXPECT_EQ(
        column("select rec_num from IMPORTTEMP where Status = 'E' order by import_key"),
        (std::vector<std::string>{std::to_string(staging::ImportTemp::kSliceRows),
                                  std::to_string(staging::ImportTemp::kSliceRows + 1), refused}));
}

DCF_ON_ALL_DATABASES(ImporterFrameTest);

} // namespace
} // namespace dcf::test
