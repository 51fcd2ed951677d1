// Whole runs over the ways a run used to end badly: a transaction that could
// not begin, a header-only log, a filer line on the first line, a filer line
// missing, files that are not files, a NAME suffix that staging moved.
#include "dcf/control_names.h"
#include "dcf_lines.h"
#include "run_fixture.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace dcf::test {
namespace {

using RunMendsTest = RunTest;

void expectFinishedLog(const std::string& log) {
    EXPECT_EQ(log.rfind("Conversion Start Time   ----  ", 0), 0U) << log;
    EXPECT_NE(log.find("Conversion finish time  ----  "), std::string::npos) << log;
}

TEST_P(RunMendsTest, ARunThatCannotBeginOrLockFailsAndStillFinishesItsLog) {
    const auto before = contents();
    writeDcf("minimal.DCF_ZV", kHeader + kFiler + kName);
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});

    // The database refuses to begin: a transaction of someone else's is open.
    connection().begin();
    const auto unbegun = run();
    EXPECT_EQ(unbegun.outcome, app::RunOutcome::Failed);
    ASSERT_FALSE(view_.messages.empty());
    EXPECT_EQ(view_.messages.back().text.rfind("The conversion failed and nothing was saved.\r\n"
                                               "The database could not begin the conversion's "
                                               "transaction: ",
                                               0),
              0U)
        << view_.messages.back().text;
    EXPECT_TRUE(connection().inTransaction()) << "a transaction the run does not own is left alone";
    connection().rollback();
    ASSERT_FALSE(unbegun.logPath.empty());
    expectFinishedLog(finalLog(unbegun));

    // Another run holds the run lock.
    auto other = database().connect();
    other->begin();
    other->acquireRunLock(std::chrono::seconds(5));
    const auto locked = run();
    other->rollback();
    EXPECT_EQ(locked.outcome, app::RunOutcome::Failed);
    ASSERT_FALSE(locked.logPath.empty());
    expectFinishedLog(finalLog(locked));
    EXPECT_FALSE(std::filesystem::exists(request_.logsFolder / "LogFile.txt"));
    EXPECT_EQ(contents(), before);
}

TEST_P(RunMendsTest, AFilerLineOnTheFirstLineIsCheckedAgainstTheDatabase) {
    connection()
        .statement("insert into FILERS (filer_id, filer_type, filer_naml) values (?, ?, ?)")
        .run("F123456", "COH", "Doe");
    const auto before = contents();
    writeDcf("nohdr.DCF_ZV", kFiler + kName);
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    view_.answer(run::QuestionKind::DuplicateFiler, {no()});
    EXPECT_EQ(run().outcome, app::RunOutcome::Cancelled);
    ASSERT_EQ(view_.questions.size(), 2U);
    EXPECT_EQ(view_.questions[1].kind, run::QuestionKind::DuplicateFiler);
    EXPECT_EQ(contents(), before);
}

TEST_P(RunMendsTest, FilesWithoutAFilerLineStopAsTwoFilerLinesDo) {
    const auto before = contents();
    const std::vector<std::pair<std::string, std::string>> files = {
        {"binary", std::string("\x7f"
                               "ELF\x02\x01\x01\0\0\0\xff\xfe\r\n\x80\x81",
                               16)},
        {"nul", std::string(64, '\0')},
        {"others", kHeader + kName + "TEXT,3,1,A,B,C,\"memo\"\r\n"},
    };
    for (const auto& [name, bytes] : files) {
        view_ = RecordingView();
        writeDcf(name + ".DCF_ZV", bytes);
        view_.answer(run::QuestionKind::ConfirmRun, {yes()});
        const auto result = run();
        EXPECT_EQ(result.outcome, app::RunOutcome::Cancelled) << name;
        ASSERT_EQ(view_.messages.size(), 1U) << name;
        EXPECT_EQ(view_.messages[0].text, "FLR Record is missing! Conversion Terminating!");
        EXPECT_NE(finalLog(result).find("Conversion canceled by user. No files imported."),
                  std::string::npos)
            << name;
        EXPECT_EQ(contents(), before) << name;
    }
}

TEST_P(RunMendsTest, TheFilerBlockQuotesTheFilerLineAndTheStagingBlockItsOwnLine) {
    // The filer's NAME record 9 is not in the file; line 5 cannot be staged.
    writeDcf("filer.DCF_ZV", kHeader + "FLR,1,0,A,B,COH,F123456,X,Y,9\r\n" + kName +
                                 "TEXT,3,1,A,B,C,\"memo\"\r\nTEXT,4,1,A,B,C,no comma\r\n" +
                                 "TEXT,5,1,A,B,C,\"last\"\r\n");
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    view_.answer(run::QuestionKind::SaveNotImported, {no()});
    const auto result = run();
    EXPECT_EQ(result.outcome, app::RunOutcome::RolledBack);
    const std::string log = finalLog(result);
    EXPECT_NE(log.find("(Procedure ImportFLR)\r\nInput Record Causing Error: \r\n"
                       "Record Type = 'FLR'\r\nFiler ID = F123456\r\nReport # = 0\r\n"
                       "Record Number = 1\r\n"
                       "---- Input Record Causing Error: 'FLR,1,0,A,B,COH,F123456,X,Y,9'\r\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("(Procedure ImportDCFRecords)"), std::string::npos);
    EXPECT_NE(log.find("---- Input Record Causing Error: 'TEXT,4,1,A,B,C,no comma'\r\n"
                       "---- Error Source: dcfconvert\r\n"),
              std::string::npos);
    EXPECT_NE(log.find("---- Error On line # 5\r\n"), std::string::npos) << log;
}

TEST_P(RunMendsTest, ADeclinedRunWritesNoLogAndShowsNoStartTime) {
    writeDcf("minimal.DCF_ZV", kHeader + kFiler + kName);
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    view_.answer(run::QuestionKind::SaveClean, {no()});
    ASSERT_EQ(run().outcome, app::RunOutcome::RolledBack);
    EXPECT_TRUE(view_.visible(control::lblStartTime));

    view_.answer(run::QuestionKind::ConfirmRun, {no()});
    const auto declined = run();
    EXPECT_EQ(declined.outcome, app::RunOutcome::Refused);
    EXPECT_TRUE(declined.logPath.empty());
    EXPECT_FALSE(view_.visible(control::lblStartTime));
    std::vector<std::string> logs;
    for (const auto& entry : std::filesystem::directory_iterator(request_.logsFolder)) {
        logs.push_back(entry.path().filename().string());
    }
    std::erase(logs, "LogFile.lock");
    EXPECT_EQ(logs.size(), 1U) << "only the first run's log";
}

TEST_P(RunMendsTest, AFifoOrADeviceNamedLikeADcfFileIsRefusedWithoutWaiting) {
    const auto fifo = files_.path() / "pipe.DCF_ZV";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto device = files_.path() / "zero.DCF_ZV";
    std::filesystem::create_symlink("/dev/zero", device);
    for (const auto& path : {fifo, device}) {
        view_ = RecordingView();
        request_.file = app::selectedFile(path); // returns at once: nothing is read
        EXPECT_EQ(request_.file.filerId, "");
        const auto result = run();
        EXPECT_EQ(result.outcome, app::RunOutcome::Refused) << path;
        ASSERT_EQ(view_.messages.size(), 1U);
        EXPECT_EQ(view_.messages[0].text,
                  "Incorrect or Missing QORVEX data file name. No files converted");
    }
}

// A suffix of 256 characters or more is kept in Memo by staging; it is cut
// to its column with its warning like a shorter long suffix, not lost.
TEST_P(RunMendsTest, ANameSuffixKeptInMemoIsReadFromThereAndCut) {
    const std::string suffix = "Jr" + std::string(298, 'x');
    writeDcf("suffix.DCF_ZV", kHeader + kFiler + kName + formLine("1", "2", "0") +
                                  nameLine("3", {{7, "Roe"},
                                                 {8, "Pat"},
                                                 {10, suffix},
                                                 {12, "1 Elm St"},
                                                 {14, "Salem"},
                                                 {15, "ST"},
                                                 {16, "54321"}}) +
                                  rcptLine("4", "1", "3"));
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    view_.answer(run::QuestionKind::SaveMinor, {yes()});
    const auto result = run();
    EXPECT_EQ(result.outcome, app::RunOutcome::Saved);
    EXPECT_EQ(selectRows(connection(), "select naml, nams from names where naml = 'Roe'"),
              std::vector<std::string>{"Roe|Jrxxx"});
    EXPECT_NE(finalLog(result).find("Error Description: Name Suffix field is longer than the 5 "
                                    "characters allowed. Field truncated in '"),
              std::string::npos)
        << finalLog(result);
}

DCF_ON_ALL_DATABASES(RunMendsTest);

} // namespace
} // namespace dcf::test
