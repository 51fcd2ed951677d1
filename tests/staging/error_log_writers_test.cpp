#include "run/error_log_writers.h"

#include "recording_view.h"
#include "test_database.h"

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

class ErrorLogWritersTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        run_.logsFolder = logs_.path();
        auto& insert = connection().statement(
            "insert into IMPORTTEMP (rec_type, rec_num, Status) values (?, ?, ?)");
        insert.run("RCPT", "1", "I");
        insert.run("RCPT", "2", "I");
        auto& key = connection().statement("select import_key from IMPORTTEMP where rec_num = ?");
        key.run("2");
        ASSERT_TRUE(key.next());
        run_.currentStagingKey = key.integer("import_key");
        key.reset();
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
    run::ConversionRun run_;
    RecordingView view_;
};

TEST_P(ErrorLogWritersTest, CorrectedRecordRaisesOnlyTheImportedWithErrorCount) {
    run::RunContext context{run_, connection(), view_};
    run::WriteToErrorLog(context, "RCPT,2,1,A", "Description exceeds 100 characters. It was cut.");
    run::WriteToErrorLog(context, "RCPT,2,1,A", "Second problem of the same record.");

    EXPECT_EQ(run_.importedWithErrorCount, 2);
    EXPECT_EQ(run_.notImportedCount, 0);
    EXPECT_FALSE(run_.recordError);
    EXPECT_EQ(statusOf("2"), "I");
    const std::vector<std::string> expected = {
        "lblErrorsImportedCount = 1", "lblErrorsImportedCount shown",
        "lblErrorsImported shown",    "yield",
        "lblErrorsImportedCount = 2", "lblErrorsImportedCount shown",
        "lblErrorsImported shown",    "yield"};
    EXPECT_EQ(view_.calls, expected);
    EXPECT_EQ(readFile(logs_.path() / "LogFile.txt"),
              "Input Record Causing Error: \r\nRCPT,2,1,A\r\n"
              "Error Description: Description exceeds 100 characters. It was cut.\r\n\r\n\r\n"
              "Input Record Causing Error: \r\nRCPT,2,1,A\r\n"
              "Error Description: Second problem of the same record.\r\n\r\n\r\n");
}

TEST_P(ErrorLogWritersTest, RejectedRecordIsMarkedCountedAndFlagged) {
    run::RunContext context{run_, connection(), view_};
    run::WriteSevereErrorLog(context, "RCPT,2,1,A",
                             "Contribution Date is missing. Record will not be imported.");

    EXPECT_EQ(run_.notImportedCount, 1);
    EXPECT_EQ(run_.importedWithErrorCount, 0);
    EXPECT_TRUE(run_.recordError);
    EXPECT_EQ(statusOf("2"), "E");
    EXPECT_EQ(statusOf("1"), "I") << "only the row the importer stands on is marked";
    const std::vector<std::string> expected = {"lblErrorsNotImportedCount = 1",
                                               "lblErrorsNotImportedCount shown",
                                               "lblErrorsNOTImported shown", "yield"};
    EXPECT_EQ(view_.calls, expected);
    EXPECT_EQ(readFile(logs_.path() / "LogFile.txt"),
              "Input Record Causing Error: \r\nRCPT,2,1,A\r\n"
              "Error Description: Contribution Date is missing. Record will not be "
              "imported.\r\n\r\n\r\n");
}

TEST_P(ErrorLogWritersTest, MissingLogsFolderFailsTheWriteLoudly) {
    run_.logsFolder = logs_.path() / "gone";
    run::RunContext context{run_, connection(), view_};
    EXPECT_THROW(run::WriteSevereErrorLog(context, "RCPT,2,1,A", "x"), std::runtime_error);
}

DCF_ON_ALL_DATABASES(ErrorLogWritersTest);

} // namespace
} // namespace dcf::test
