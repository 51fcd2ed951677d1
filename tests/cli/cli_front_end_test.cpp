#include "cli/cli_main.h"
#include "cli/cli_options.h"
#include "cli/cli_view.h"
#include "log/log_entries.h"
#include "test_database.h"

#include <csignal>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

using cli::Options;
using run::Answer;
using run::QuestionKind;

struct CliOutput {
    int status = -1;
    std::vector<std::string> lines; // standard output
    std::string err;
};

// Runs the front end in this process as `dcfconvert-cli ARGS...`.
CliOutput runCli(std::vector<std::string> args) {
    args.insert(args.begin(), "dcfconvert-cli");
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    std::ostringstream out;
    std::ostringstream err;
    CliOutput output;
    output.status = cli::runCli(static_cast<int>(args.size()), argv.data(), out, err);
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) {
        output.lines.push_back(line);
    }
    output.err = err.str();
    return output;
}

Options parse(std::vector<std::string> args) {
    args.insert(args.begin(), "dcfconvert-cli");
    std::vector<const char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    std::ostringstream out;
    std::ostringstream err;
    const cli::ParsedOptions parsed =
        cli::parseOptions(static_cast<int>(argv.size()), argv.data(), out, err);
    EXPECT_TRUE(parsed.options.has_value()) << err.str();
    return parsed.options.value_or(Options{});
}

TEST(CliOptions, DefaultsAnswerAsTheContractSays) {
    const Options options = parse({"file.DCF_ZV"});
    EXPECT_EQ(options.file, "file.DCF_ZV");
    EXPECT_EQ(options.target, "DSN=qorvex");
    EXPECT_FALSE(options.logsFolder.has_value());
    EXPECT_EQ(options.duplicateFiler, std::vector<std::string>{"stop"});
    EXPECT_EQ(options.similarNames, std::vector<std::string>{"new"});
    EXPECT_TRUE(options.save);
    EXPECT_FALSE(options.quiet);
}

TEST(CliOptions, EachTargetOptionNamesTheConnection) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--dsn", "office", "f.DCF_ZV"}, "DSN=office"},
        {{"f.DCF_ZV", "--connect", "Driver=SQLite3;Database=/tmp/x"},
         "Driver=SQLite3;Database=/tmp/x"},
        {{"--database", "/tmp/filing.sqlite", "f.DCF_ZV"}, "/tmp/filing.sqlite"},
    };
    for (const auto& [args, target] : cases) {
        EXPECT_EQ(parse(args).target, target) << args[0];
    }
}

TEST(CliOptions, AnswerListsAndTheOtherOptions) {
    const Options options =
        parse({"--duplicate-filer", "continue,stop,continue", "--similar-names",
               "existing,stop-asking", "--save", "no", "-q", "--logs", "/tmp/logs", "f.DCF_ZV"});
    EXPECT_EQ(options.duplicateFiler, (std::vector<std::string>{"continue", "stop", "continue"}));
    EXPECT_EQ(options.similarNames, (std::vector<std::string>{"existing", "stop-asking"}));
    EXPECT_FALSE(options.save);
    EXPECT_TRUE(options.quiet);
    EXPECT_EQ(options.logsFolder, std::filesystem::path("/tmp/logs"));
    EXPECT_EQ(options.file, "f.DCF_ZV");
}

TEST(CliOptions, UsageErrorsExitTwoWithTheReasonOnStandardError) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--dsn", "a", "--database", "b", "f.DCF_ZV"},
        {"--connect", "DSN=a", "--dsn", "b", "f.DCF_ZV"},
        {"--database", "a", "--connect", "DSN=b", "f.DCF_ZV"},
        {"--duplicate-filer", "continue,maybe", "f.DCF_ZV"},
        {"--duplicate-filer", "continue,,stop", "f.DCF_ZV"},
        {"--similar-names", "newer", "f.DCF_ZV"},
        {"--save", "perhaps", "f.DCF_ZV"},
        {"--no-such-option", "f.DCF_ZV"},
        {"a.DCF_ZV", "b.DCF_ZV"},
    };
    for (const auto& args : cases) {
        const CliOutput output = runCli(args);
        const std::string shown = args.empty() ? "(no arguments)" : args[0] + " " + args[1];
        EXPECT_EQ(output.status, 2) << shown;
        EXPECT_TRUE(output.lines.empty()) << shown;
        EXPECT_FALSE(output.err.empty()) << shown;
    }
}

TEST(CliOptions, HelpAndVersionExitZero) {
    const CliOutput help = runCli({"--help"});
    EXPECT_EQ(help.status, 0);
    ASSERT_FALSE(help.lines.empty());
    const CliOutput version = runCli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.lines, std::vector<std::string>{"dcfconvert-cli " DCF_VERSION});
}

TEST(CliOptions, LastAnswerWordAnswersEveryFurtherQuestion) {
    const std::vector<std::string> words{"continue", "stop"};
    EXPECT_EQ(cli::answerWord(words, 0), "continue");
    EXPECT_EQ(cli::answerWord(words, 1), "stop");
    EXPECT_EQ(cli::answerWord(words, 7), "stop");
}

TEST(CliView, LineBreaksInMessagesBecomeBackslashN) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"plain", "plain"},
        {"a\r\nb", "a\\nb"},
        {"a\nb", "a\\nb"},
        {"a\rb", "a\\nb"},
        {"a\r\n\r\nb\n", "a\\n\\nb\\n"},
        {"\xC3\xA9t\xC3\xA9\r\n", "\xC3\xA9t\xC3\xA9\\n"},
    };
    for (const auto& [text, escaped] : cases) {
        EXPECT_EQ(cli::escapeLineBreaks(text), escaped);
    }
}

TEST(CliView, AnswersEachQuestionFromTheOptionsAndNamesIt) {
    Options options;
    options.duplicateFiler = {"continue", "stop"};
    options.similarNames = {"existing", "stop-asking", "new"};
    options.save = false;
    run::SelectedFile file;
    file.filerType = "COH";
    file.filerId = "F1";
    file.filerName = "Jane Doe";
    std::ostringstream out;
    std::ostringstream err;
    cli::CliView view(options, file, out, err);
    const auto ask = [&](QuestionKind kind) { return view.ask(run::Question{kind, "", "?"}); };

    EXPECT_EQ(ask(QuestionKind::ConfirmRun), Answer::Yes);
    EXPECT_EQ(ask(QuestionKind::DuplicateFiler), Answer::Yes);
    EXPECT_EQ(ask(QuestionKind::DuplicateFiler), Answer::No);
    EXPECT_EQ(ask(QuestionKind::DuplicateFiler), Answer::No);
    EXPECT_EQ(ask(QuestionKind::SimilarName), Answer::Yes);
    EXPECT_EQ(ask(QuestionKind::SimilarName), Answer::Cancel);
    EXPECT_EQ(ask(QuestionKind::SimilarName), Answer::No);
    EXPECT_EQ(ask(QuestionKind::SimilarName), Answer::No);
    view.tell(run::Message{"Title", "Line one\r\nLine two"});
    EXPECT_EQ(ask(QuestionKind::SaveNotImported), Answer::No);
    EXPECT_EQ(ask(QuestionKind::SaveMinor), Answer::No);
    EXPECT_EQ(ask(QuestionKind::SaveClean), Answer::No);

    EXPECT_EQ(out.str(), "filer: COH F1 Jane Doe\n"
                         "question: duplicate-filer answer: continue\n"
                         "question: duplicate-filer answer: stop\n"
                         "question: duplicate-filer answer: stop\n"
                         "question: similar-name answer: existing\n"
                         "question: similar-name answer: stop-asking\n"
                         "question: similar-name answer: new\n"
                         "question: similar-name answer: new\n"
                         "message: Line one\\nLine two\n"
                         "question: save-not-imported answer: no\n"
                         "question: save-minor answer: no\n"
                         "question: save-clean answer: no\n");
    EXPECT_EQ(err.str(), "");
}

TEST(CliView, ProgressLineCarriesLinesRateTimeLeftAndCounts) {
    cli::ProgressSnapshot progress;
    progress.step = "Processing input records from DCF file.";
    progress.value = 12000;
    progress.maximum = 200000;
    progress.rate = app::RateEstimate{6000.0, 32};
    progress.counts = {{"lblImportCount", 12000},
                       {"lblNameCount", 3000},
                       {"lblRcptCount", 4200},
                       {"lblExpnCount", 0},
                       {"lblImpNameCount", 10}};
    EXPECT_EQ(cli::progressLine(progress),
              "Processing input records from DCF file. 12000/200000, 6000/s, about 32 s left; "
              "read 12000 lines; staged NAME 3000 RCPT 4200; imported NAME 10");
}

// A step shows as it begins, without the bar of the step before, even when
// the last line was written a moment ago; quiet writes nothing.
TEST(CliView, EachStepShowsAsItBegins) {
    for (const bool quiet : {false, true}) {
        Options options;
        options.quiet = quiet;
        const run::SelectedFile file;
        std::ostringstream out;
        std::ostringstream err;
        cli::CliView view(options, file, out, err);
        view.setText("lblProcessingMessage", "Processing Loan Records");
        view.setProgress(5, 10);
        view.setText("statbarMain", "Processing record # 5");
        view.setText("lblProcessingMessage", "Processing Guarantor Records");
        view.setText("lblProcessingMessage", "Processing Guarantor Records");
        EXPECT_EQ(err.str(), quiet ? ""
                                   : "Processing Loan Records; read 0 lines\n"
                                     "Processing Guarantor Records; read 0 lines\n");
        EXPECT_EQ(out.str(), "");
    }
}

TEST(CliSignals, InterruptAndTerminateRequestCancelWhileTheRunLasts) {
    struct sigaction own {};
    own.sa_handler = SIG_IGN;
    struct sigaction saved {};
    sigaction(SIGTERM, &own, &saved);
    for (const int signal : {SIGINT, SIGTERM}) {
        std::atomic<bool> cancelRequested{false};
        {
            const cli::CancelOnSignals guard(cancelRequested);
            std::raise(signal);
            EXPECT_TRUE(cancelRequested.load()) << signal;
        }
    }
    struct sigaction after {};
    sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, SIG_IGN);
    sigaction(SIGTERM, &saved, nullptr);
}

class CliRun : public ::testing::Test {
protected:
    CliOutput convert(const std::filesystem::path& file) {
        return runCli({"--database", database_.sqliteFile().string(), "--logs",
                       logs_.path().string(), "-q", file.string()});
    }
    TestDatabase database_{Target::NativeSqlite};
    TempFolder logs_;
    TempFolder files_;
};

TEST_F(CliRun, MinimalSampleIsSavedWithItsLog) {
    const CliOutput output = convert(std::filesystem::path(DCF_SAMPLES_DIR) / "minimal.DCF_ZV");
    EXPECT_EQ(output.status, 0);
    EXPECT_EQ(output.err, "");
    ASSERT_FALSE(output.lines.empty());
    EXPECT_EQ(output.lines.front(), "filer: COH F123456 Y X");
    EXPECT_EQ(output.lines.back(), "outcome: saved");
    bool logged = false;
    for (const std::string& line : output.lines) {
        if (line.rfind("log: ", 0) == 0) {
            logged = true;
            EXPECT_TRUE(std::filesystem::is_regular_file(line.substr(5))) << line;
        }
    }
    EXPECT_TRUE(logged);
}

// A log with entries is followed by the line naming its entries file, the
// log's name with ".csv"; a log without (the minimal sample's) by none.
TEST_F(CliRun, TheEntriesFileIsNamedAfterTheLog) {
    for (const auto& [sample, withEntries] :
         {std::pair{"minimal.DCF_ZV", false}, std::pair{"full-report.DCF_ZV", true}}) {
        std::vector<std::string> lines =
            convert(std::filesystem::path(DCF_SAMPLES_DIR) / sample).lines;
        std::erase_if(lines, [](const std::string& line) {
            return !line.starts_with("log: ") && !line.starts_with("entries: ");
        });
        ASSERT_EQ(lines.size(), withEntries ? 2U : 1U) << sample;
        const auto entries = log::entriesFileName(lines[0].substr(5));
        EXPECT_EQ(std::filesystem::exists(entries), withEntries) << sample;
        if (withEntries) {
            EXPECT_EQ(lines[1], "entries: " + entries.string());
        }
    }
}

TEST_F(CliRun, FilesTheEngineRefusesExitTwo) {
    const std::filesystem::path wrongExtension = files_.path() / "minimal.txt";
    std::filesystem::copy_file(std::filesystem::path(DCF_SAMPLES_DIR) / "minimal.DCF_ZV",
                               wrongExtension);
    for (const auto& file : {wrongExtension, files_.path() / "absent.DCF_ZV"}) {
        const CliOutput output = convert(file);
        EXPECT_EQ(output.status, 2) << file;
        ASSERT_FALSE(output.lines.empty()) << file;
        EXPECT_EQ(output.lines.back(), "outcome: refused") << file;
    }
}

TEST(CliRunFailure, DatabaseThatCannotBeOpenedFailsWithItsMessage) {
    TempFolder folder;
    const std::string missing = (folder.path() / "none.sqlite").string();
    const CliOutput output =
        runCli({"--database", missing, "--logs", folder.path().string(), "x.DCF_ZV"});
    EXPECT_EQ(output.status, 3);
    ASSERT_EQ(output.lines.size(), 2u);
    EXPECT_EQ(output.lines[0].rfind(
                  "message: The filing database could not be opened (" + missing + ").\\n", 0),
              0u)
        << output.lines[0];
    EXPECT_EQ(output.lines[1], "outcome: failed");
}

} // namespace
} // namespace dcf::test
