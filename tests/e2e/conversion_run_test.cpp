#include "dcf/control_names.h"
#include "run_fixture.h"

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

const std::string kMinimal = kHeader + kFiler + kName;

using ConversionRunTest = RunTest;

TEST_P(ConversionRunTest, CleanRunSavedOnYesAddsTheFilerAndKeepsTheLog) {
    writeDcf("minimal.DCF_ZV", kMinimal);
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    view_.answer(run::QuestionKind::SaveClean, {yes()});
    const auto result = run();

    EXPECT_EQ(result.outcome, app::RunOutcome::Saved);
    EXPECT_EQ(
        count("select count(*) from FILERS where filer_id = 'F123456' and filer_type = 'COH' and "
              "entity_cd = 'I' and filer_naml = 'Doe Campaign' and filer_city = 'Springfield'"),
        1);
    EXPECT_EQ(count("select count(*) from IMPORTTEMP"), 2);
    ASSERT_EQ(view_.questions.size(), 2u);
    EXPECT_EQ(view_.questions[0].text,
              "DCF File minimal.DCF_ZV\r\nfor COH Filer Y X\r\nwith a Filer ID of "
              "F123456\r\nhas been selected.\r\n\r\nDo you want to continue Converting "
              "this QORVEX Data File? \r\n");
    EXPECT_EQ(view_.text("statbarMain"), "Processed 3 minimal.DCF_ZV record(s)");
    EXPECT_EQ(view_.text("frmMain"), "Conversion - minimal.DCF_ZV (Stopped)");
    EXPECT_EQ(view_.text("lblToolBar"), "Press the 'Exit' icon to exit the program.");
    EXPECT_TRUE(view_.enabled("cmdRun"));
    EXPECT_FALSE(view_.enabled("cmdStop"));
    EXPECT_EQ(view_.count("lblNameCount"), 1);
    EXPECT_EQ(view_.count("lblImportCount"), 3);

    const std::string log = finalLog(result);
    EXPECT_EQ(result.logPath.filename().string().rfind("minimal.DCFConversionLog", 0), 0u)
        << result.logPath;
    EXPECT_EQ(log.rfind("Conversion Start Time   ----  ", 0), 0u);
    EXPECT_NE(log.find("Processed 1 Header Record(s)\r\n         1 Filer(s)\r\n"),
              std::string::npos)
        << log;
    EXPECT_NE(
        log.find("         0 Corrected Report Record(s)\r\n\r\nConversion finish time  ----  "),
        std::string::npos);
    ASSERT_EQ(result.summaryLines.size(), 16u);
    EXPECT_EQ(result.summaryLines[5], "         1 Name(s)");
    EXPECT_FALSE(std::filesystem::exists(request_.logsFolder / "LogFile.txt"));
}

TEST_P(ConversionRunTest, EveryClosingQuestionRollsBackOnNoAndCommitsOnYes) {
    struct Case {
        std::string file;
        run::QuestionKind question;
    };
    // A short TEXT line is not imported; a filer whose NAME line is missing
    // is a minor error of the filer importer.
    const std::vector<Case> cases = {
        {kMinimal, run::QuestionKind::SaveClean},
        {kMinimal + "TEXT,3,1,A,B,C,no closing comma\r\n", run::QuestionKind::SaveNotImported},
        {kHeader + "FLR,1,0,A,B,COH,F123456,X,Y,9\r\n", run::QuestionKind::SaveMinor},
    };
    for (const auto& c : cases) {
        for (const run::Answer answer : {no(), yes()}) {
            connection().statement("delete from FILERS").execute();
            const auto before = contents();
            RecordingView fresh;
            view_ = fresh;
            writeDcf("case.DCF_ZV", c.file);
            view_.answer(run::QuestionKind::ConfirmRun, {yes()});
            view_.answer(c.question, {answer});
            const auto result = run();
            ASSERT_FALSE(view_.questions.empty());
            EXPECT_EQ(view_.questions.back().kind, c.question);
            EXPECT_EQ(view_.questions.back().defaultAnswer, yes());
            if (answer == yes()) {
                EXPECT_EQ(result.outcome, app::RunOutcome::Saved);
                EXPECT_GT(count("select count(*) from IMPORTTEMP"), 0);
            } else {
                EXPECT_EQ(result.outcome, app::RunOutcome::RolledBack);
                EXPECT_EQ(contents(), before) << "a declined run left rows behind";
            }
        }
    }
}

TEST_P(ConversionRunTest, DuplicateFilerAnswers) {
    connection()
        .statement(
            "insert into FILERS (filer_id, filer_type, filer_naml, filer_namf) values (?, ?, ?, ?)")
        .run("F123456", "COH", "Doe", "Jane");
    connection()
        .statement("insert into FILERS (filer_id, filer_type, filer_naml) values (?, ?, ?)")
        .run("F2", "COH", "Friends of Maple Valley");
    const std::string second = "FLR,1,0,A,B,COH,F2,X,Y,2\r\n";

    // Continue converts; the known filer is not added again.
    writeDcf("dup.DCF_ZV", kMinimal);
    view_.answer(run::QuestionKind::DuplicateFiler, {yes()});
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    view_.answer(run::QuestionKind::SaveClean, {yes()});
    EXPECT_EQ(run().outcome, app::RunOutcome::Saved);
    EXPECT_EQ(view_.questions[1].text,
              "There Already Exists a COH Filer\r\n'Jane Doe'\r\nwith Account #F123456\r\n"
              "that is a Duplicate of the Account #F123456 being Imported!\r\n\r\n"
              "Do you want to Continue to Convert this Data File? ");
    EXPECT_EQ(count("select count(*) from FILERS"), 2);

    // Stop on the second of two duplicate filer lines: nothing is kept.
    connection().statement("delete from IMPORTTEMP").execute();
    const auto before = contents();
    view_ = RecordingView();
    writeDcf("dup.DCF_ZV", kHeader + kFiler + second + kName);
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    view_.answer(run::QuestionKind::DuplicateFiler, {yes(), no()});
    const auto stopped = run();
    EXPECT_EQ(stopped.outcome, app::RunOutcome::Cancelled);
    EXPECT_EQ(view_.questions.size(), 3u);
    // A filer without a first name is named without a blank before it.
    EXPECT_TRUE(view_.questions[2].text.starts_with(
        "There Already Exists a COH Filer\r\n'Friends of Maple Valley'\r\n"))
        << view_.questions[2].text;
    EXPECT_EQ(contents(), before);
    EXPECT_NE(finalLog(stopped).find("Conversion canceled by user. No files imported."),
              std::string::npos);

    // A filer of another type is never converted.
    view_ = RecordingView();
    writeDcf("dup.DCF_ZV", kHeader + "FLR,1,0,A,B,SCC,F123456,X,Y,2\r\n" + kName);
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    EXPECT_EQ(run().outcome, app::RunOutcome::Cancelled);
    ASSERT_EQ(view_.messages.size(), 1u);
    EXPECT_EQ(view_.messages[0].title, "Canceling QORVEX Data File Conversion");
    EXPECT_EQ(view_.messages[0].icon, run::Icon::Critical);
    EXPECT_EQ(contents(), before);
}

TEST_P(ConversionRunTest, FilerProblemsStopTheRun) {
    const auto before = contents();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {kHeader + kFiler + kFiler + kName, "FLR Record is missing! Conversion Terminating!"},
        {kHeader + "FLR,1,0,A,B,COH,,X,Y,2\r\n" + kName,
         "DCF data file does not include your Velquor Filer ID. Conversion terminating"},
    };
    for (const auto& [file, message] : cases) {
        view_ = RecordingView();
        writeDcf("filer.DCF_ZV", file);
        view_.answer(run::QuestionKind::ConfirmRun, {yes()});
        const auto result = run();
        EXPECT_EQ(result.outcome, app::RunOutcome::Cancelled) << message;
        ASSERT_EQ(view_.messages.size(), 1u);
        EXPECT_EQ(view_.messages[0].text, message);
        EXPECT_EQ(view_.questions.size(), 1u) << "no closing question after a stop";
        EXPECT_EQ(contents(), before);
    }
}

TEST_P(ConversionRunTest, FileWithoutFilerStagesAndCountsThenStops) {
    const auto before = contents();
    writeDcf("nofiler.dcf_zv", "HDR,1,0,a,b,c,\r\nHDR no comma\r\nrcpt,1,2\r\n" + kName +
                                   "PLDG,4,1,A,B,C,D,E,F,G,H,I,J,Y\r\nXXXX,unknown\r\n");
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    const auto result = run();
    EXPECT_EQ(result.outcome, app::RunOutcome::Cancelled) << "a lower-case extension is accepted";
    EXPECT_EQ(result.linesRead, 6);
    EXPECT_EQ(result.counts.staged("HDR"), 1);
    EXPECT_EQ(result.counts.staged("PLDG"), 1);
    EXPECT_EQ(view_.count(control::lblNameCount), 1);
    ASSERT_EQ(view_.messages.size(), 1U);
    EXPECT_EQ(view_.messages[0].text, "FLR Record is missing! Conversion Terminating!");
    EXPECT_TRUE(result.summaryLines.empty());
    EXPECT_EQ(contents(), before);
}

TEST_P(ConversionRunTest, CancelDuringStagingRollsBackBeforeAnyImporter) {
    const auto before = contents();
    writeDcf("cancel.DCF_ZV", kMinimal);
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    view_.atYieldAfter(control::statbarMain, "Processing DCF file record # 2",
                       [this] { cancelRequested_ = true; });
    const auto result = run();
    EXPECT_EQ(result.outcome, app::RunOutcome::Cancelled);
    EXPECT_EQ(view_.text("statbarMain"), "DCF conversion canceled. No files converted.");
    EXPECT_TRUE(result.summaryLines.empty());
    EXPECT_EQ(contents(), before);
    EXPECT_EQ(view_.questions.size(), 1u);
}

TEST_P(ConversionRunTest, CancelBeforeTheImportersIsStillRolledBack) {
    const auto before = contents();
    writeDcf("cancel.DCF_ZV", kMinimal);
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    view_.atYieldAfter(control::lblProcessingMessage, "Processing name records from DCF file",
                       [this] { cancelRequested_ = true; });
    EXPECT_EQ(run().outcome, app::RunOutcome::Cancelled);
    EXPECT_FALSE(connection().inTransaction());
    EXPECT_EQ(contents(), before);
}

TEST_P(ConversionRunTest, RefusedRunsBeginNoTransaction) {
    const auto before = contents();
    for (const std::string name : {"wrong.DCF", "missing.DCF_ZV"}) {
        view_ = RecordingView();
        request_.file.path = files_.path() / name;
        request_.file.name = name;
        if (name == "wrong.DCF") {
            writeFile(request_.file.path, kMinimal);
        }
        const auto result = run();
        EXPECT_EQ(result.outcome, app::RunOutcome::Refused) << name;
        ASSERT_EQ(view_.messages.size(), 1u);
        EXPECT_EQ(view_.messages[0].text,
                  "Incorrect or Missing QORVEX data file name. No files converted");
        EXPECT_TRUE(view_.questions.empty());
        EXPECT_TRUE(result.logPath.empty());
    }
    // A logs folder that cannot be written refuses the run with its name.
    view_ = RecordingView();
    writeDcf("minimal.DCF_ZV", kMinimal);
    request_.logsFolder = files_.path() / "no-such-logs";
    EXPECT_EQ(run().outcome, app::RunOutcome::Refused);
    ASSERT_EQ(view_.messages.size(), 1u);
    EXPECT_NE(view_.messages[0].text.find("no-such-logs"), std::string::npos);

    // A leftover working log that cannot be removed stops the run before it begins.
    view_ = RecordingView();
    request_.logsFolder = files_.path() / "logs";
    std::filesystem::create_directories(request_.logsFolder / "LogFile.txt" / "in-the-way");
    EXPECT_EQ(run().outcome, app::RunOutcome::Refused);
    ASSERT_EQ(view_.messages.size(), 1u);
    EXPECT_EQ(view_.messages[0].text.rfind("The conversion could not start: ", 0), 0u)
        << view_.messages[0].text;
    EXPECT_TRUE(view_.enabled("cmdRun"));
    EXPECT_EQ(contents(), before);
}

TEST_P(ConversionRunTest, EmptyOrVanishingFileFailsTheRun) {
    const auto before = contents();
    writeDcf("empty.DCF_ZV", "");
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    const auto empty = run();
    EXPECT_EQ(empty.outcome, app::RunOutcome::Failed);
    const std::string log = finalLog(empty);
    EXPECT_NE(log.find("---- (Procedure DCFImport)\r\n"), std::string::npos);
    EXPECT_NE(log.find("---- Error On line # 0\r\n"), std::string::npos);
    EXPECT_TRUE(view_.visible("LblErrorLog"));
    EXPECT_EQ(contents(), before);

    view_ = RecordingView();
    const auto path = writeDcf("vanish.DCF_ZV", kMinimal);
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    view_.atYieldAfter(control::frmMain, "Conversion - DCF Data (Converting File)",
                       [&] { std::filesystem::remove(path); });
    EXPECT_EQ(run().outcome, app::RunOutcome::Failed);
    EXPECT_EQ(contents(), before);
}

TEST_P(ConversionRunTest, SecondRunCountsFromZeroAndARunningRunLocksOthersOut) {
    writeDcf("minimal.DCF_ZV", kMinimal);
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    view_.answer(run::QuestionKind::SaveClean, {no()});
    EXPECT_EQ(run().outcome, app::RunOutcome::RolledBack);
    const app::RunResult second = run();
    EXPECT_EQ(second.outcome, app::RunOutcome::RolledBack);
    EXPECT_EQ(second.linesRead, 3);
    EXPECT_EQ(second.counts.staged("NAME"), 1);

    auto other = database().connect();
    other->begin();
    other->acquireRunLock(std::chrono::seconds(5));
    view_ = RecordingView();
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    EXPECT_EQ(run().outcome, app::RunOutcome::Failed);
    ASSERT_EQ(view_.messages.size(), 1u);
    EXPECT_EQ(view_.messages[0].text,
              "Another conversion is running on this database. Try again when it has finished.");
    other->rollback();
}

// Only a server can go away under a run: its connection is ended mid-run.
using ServerRunTest = RunTest;

TEST_P(ServerRunTest, DatabaseLostMidRunSavesNothing) {
    const auto before = contents();
    auto& pid = connection().statement("select pg_backend_pid() as pid");
    pid.execute();
    ASSERT_TRUE(pid.next());
    const std::int64_t backend = pid.integer("pid");
    pid.reset();
    auto admin = database().connect();
    writeDcf("minimal.DCF_ZV", kMinimal);
    view_.answer(run::QuestionKind::ConfirmRun, {yes()});
    view_.atYieldAfter(control::statbarMain, "Processing DCF file record # 1", [&] {
        admin->statement("select pg_terminate_backend(cast(? as integer))").run(backend);
    });
    const auto result = run();
    EXPECT_EQ(result.outcome, app::RunOutcome::Failed);
    EXPECT_FALSE(view_.messages.empty());
    EXPECT_EQ(view_.questions.size(), 1U) << "no closing question after the database went away";
    EXPECT_EQ(contents(*admin), before);
}

DCF_ON_ALL_DATABASES(ConversionRunTest);
DCF_ON_DATABASE_SERVER(ServerRunTest);

} // namespace
} // namespace dcf::test
