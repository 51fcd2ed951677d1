#include "log/log_file.h"
#include "log_test_folder.h"

#include <gtest/gtest.h>

namespace {

std::tm at(int hour, int minute, int second) {
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 8;
    when.tm_hour = hour;
    when.tm_min = minute;
    when.tm_sec = second;
    return when;
}

class LogFileLayout : public ::testing::Test {
protected:
    TempFolder folder_;
    dcf::log::LogFile log_{folder_.path()};
};

TEST_F(LogFileLayout, WorkingFileLivesInTheLogsFolder) {
    EXPECT_EQ(log_.path(), folder_.path() / "LogFile.txt");
    EXPECT_FALSE(log_.exists());
}

TEST_F(LogFileLayout, HeaderBytes) {
    log_.writeHeader(at(9, 5, 7));
    EXPECT_EQ(readBytes(log_.path()),
              "Conversion Start Time   ----  9:05:07AM\r\n"
              "\r\n\r\n"
              "Error records are printed in this file.\r\n"
              "Error condition is printed before each problem record.\r\n"
              "Validating unfiled QORVEX reports may help in the Conversion process.\r\n"
              "Technical support may be reached at 1-800-555-0142 or 1-800-555-0143\r\n"
              "\r\n\r\n");
}

TEST_F(LogFileLayout, TwoProblemsOfOneRecordGiveTwoEntriesWithTheSameRecordText) {
    const std::string record = "RCPT,12,1,IND,Ünal,,\"a,b\"";
    log_.writeEntry(record, "Contribution Date is missing. Record will not be imported.");
    log_.writeEntry(record, "Description was cut to 100 characters.");
    const std::string entryStart = "Input Record Causing Error: \r\n" + record + "\r\n";
    EXPECT_EQ(readBytes(log_.path()),
              entryStart +
                  "Error Description: Contribution Date is missing. Record will not be "
                  "imported.\r\n\r\n\r\n" +
                  entryStart +
                  "Error Description: Description was cut to 100 characters.\r\n"
                  "\r\n\r\n");
}

TEST_F(LogFileLayout, CancelAndFinishLinesAppendToWhatIsThere) {
    log_.appendLines({"earlier", ""});
    log_.writeCancelLine(at(0, 1, 2));
    log_.writeFinishLine(at(12, 30, 0));
    EXPECT_EQ(readBytes(log_.path()),
              "earlier\r\n\r\n"
              "Conversion canceled by user. No files imported.12:01:02AM\r\n\r\n\r\n"
              "Conversion finish time  ----  12:30:00PM\r\n\r\n\r\n");
}

TEST_F(LogFileLayout, RemoveIfExistsDeletesALeftoverAndToleratesNone) {
    log_.appendLines({"left over"});
    ASSERT_TRUE(log_.exists());
    log_.removeIfExists();
    EXPECT_FALSE(log_.exists());
    EXPECT_NO_THROW(log_.removeIfExists());
}

TEST(LogFileFailure, MissingLogsFolderNamesTheFileAndTheReason) {
    TempFolder folder;
    const dcf::log::LogFile log(folder.path() / "no-such-logs");
    try {
        log.writeHeader(at(9, 5, 7));
        FAIL() << "writing into a missing folder succeeded";
    } catch (const std::runtime_error& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find(log.path().string()), std::string::npos) << message;
        EXPECT_NE(message.find("No such file or directory"), std::string::npos) << message;
        EXPECT_NE(message.find("Check that the logs folder"), std::string::npos) << message;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "no-such-logs"));
}

TEST(StagingErrorBlock, ElevenLinesInOrder) {
    const dcf::log::StagingFailure failure{
        .filePath = "/home/ann/data/filer.dcf",
        .when = at(15, 4, 9),
        .filerId = "F77",
        .reportNumber = "3",
        .recordNumber = "12",
        .errorNumber = "HY000",
        .line = "TEXT,12,3,A,B,C,unterminated",
        .source = "ImportDCFRecords",
        .description = "Field 7 has no closing comma.",
        .lineNumber = 41,
    };
    const std::vector<std::string> expected = {
        "**** Error with file: /home/ann/data/filer.dcf at 12/8/2026 3:04:09PM",
        "(Procedure ImportDCFRecords)",
        "Input Record Causing Error: ",
        "Filer ID = F77",
        "Report # = 3",
        "Record Number = 12",
        "---- Error # HY000",
        "---- Input Record Causing Error: 'TEXT,12,3,A,B,C,unterminated'",
        "---- Error Source: ImportDCFRecords",
        "---- Error Description: Field 7 has no closing comma.",
        "---- Error On line # 41",
    };
    EXPECT_EQ(dcf::log::stagingErrorBlock(failure), expected);
}

} // namespace
