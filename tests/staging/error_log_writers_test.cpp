#include "staging/error_log_writers.h"

#include "recording_view.h"
#include "test_database.h"
#include "test_run.h"

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

// Fields 5 to 46 of the staged rows, all empty.
const std::string kEmptyFields(42, ',');

class ErrorLogWritersTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        state_.request.logsFolder = logs_.path();
        auto& insert = connection().statement(
            "insert into IMPORTTEMP (rec_type, rec_num, repno, field4, Status) values (?, ?, ?, "
            "?, ?)");
        insert.run("RCPT", "1", "1", "A", "I");
        insert.run("RCPT", "2", "1", "A", "I");
        auto& key = connection().statement("select import_key from IMPORTTEMP where rec_num = ?");
        key.run("2");
        ASSERT_TRUE(key.next());
        const std::int64_t second = key.integer("import_key");
        key.reset();
        importTemp_ = std::make_unique<staging::ImportTemp>(connection());
        ASSERT_TRUE(importTemp_->read(second, row_));
    }

    std::string statusOf(const std::string& recNum) {
        auto& read = connection().statement("select Status from IMPORTTEMP where rec_num = ?");
        read.run(recNum);
        EXPECT_TRUE(read.next());
        std::string status = read.text("status");
        read.reset();
        return status;
    }

    TempFolder logs_;
    TestRun state_;
    RecordingView view_;
    std::unique_ptr<staging::ImportTemp> importTemp_;
    staging::StagedRow row_;
};

TEST_P(ErrorLogWritersTest, CorrectedRecordRaisesOnlyTheImportedWithErrorCount) {
    run::RunContext context = state_.context(connection(), view_);
    staging::WriteToErrorLog(context, row_, "Description exceeds 100 characters. It was cut.");
    staging::WriteToErrorLog(context, row_, "Second problem of the same record.");

    EXPECT_EQ(state_.run.counts.importedWithError, 2);
    EXPECT_EQ(state_.run.counts.notImported, 0);
    EXPECT_EQ(statusOf("2"), "I");
    const std::vector<std::string> expected = {
        "lblErrorsImportedCount = 1", "lblErrorsImportedCount shown",
        "lblErrorsImported shown",    "yield",
        "lblErrorsImportedCount = 2", "lblErrorsImportedCount shown",
        "lblErrorsImported shown",    "yield"};
    EXPECT_EQ(view_.calls, expected);
    EXPECT_EQ(readFile(logs_.path() / "LogFile.txt"),
              "Input Record Causing Error: \r\nRCPT,2,1,A" + kEmptyFields +
                  "\r\n"
                  "Error Description: Description exceeds 100 characters. It was cut.\r\n\r\n\r\n"
                  "Input Record Causing Error: \r\nRCPT,2,1,A" +
                  kEmptyFields +
                  "\r\n"
                  "Error Description: Second problem of the same record.\r\n\r\n\r\n");
}

TEST_P(ErrorLogWritersTest, RejectedRecordIsMarkedAndCounted) {
    run::RunContext context = state_.context(connection(), view_);
    staging::WriteSevereErrorLog(context, *importTemp_, row_,
                                 "Contribution Date is missing. Record will not be imported.");

    EXPECT_EQ(state_.run.counts.notImported, 1);
    EXPECT_EQ(state_.run.counts.importedWithError, 0);
    EXPECT_EQ(statusOf("2"), "E");
    EXPECT_EQ(statusOf("1"), "I") << "only the row of the entry is marked";
    const std::vector<std::string> expected = {"lblErrorsNotImportedCount = 1",
                                               "lblErrorsNotImportedCount shown",
                                               "lblErrorsNOTImported shown", "yield"};
    EXPECT_EQ(view_.calls, expected);
    EXPECT_EQ(readFile(logs_.path() / "LogFile.txt"),
              "Input Record Causing Error: \r\nRCPT,2,1,A" + kEmptyFields +
                  "\r\n"
                  "Error Description: Contribution Date is missing. Record will not be "
                  "imported.\r\n\r\n\r\n");
}

TEST_P(ErrorLogWritersTest, MissingLogsFolderFailsTheWriteLoudly) {
    state_.request.logsFolder = logs_.path() / "gone";
    run::RunContext context = state_.context(connection(), view_);
    EXPECT_THROW(staging::WriteSevereErrorLog(context, *importTemp_, row_, "x"),
                 std::runtime_error);
}

DCF_ON_ALL_DATABASES(ErrorLogWritersTest);

} // namespace
} // namespace dcf::test
