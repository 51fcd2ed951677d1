// Takes the fuzz input as the bytes of a DCF file through the whole
// conversion, on an in-memory SQLite filing database that already holds one
// saved run (samples/two-reports), with a view that goes on at every question
// and declines to save at the end. Checks that every run ends with an
// outcome that fits what was asked, that the database refuses nothing the
// engine sends it, and that the declined run leaves every table as it was.
#include "app/run_command.h"
#include "app/selected_file.h"
#include "db/connection.h"
#include "fuzz_check.h"
#include "run/run_context.h"
#include "run/run_request.h"
#include "run/view.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <signal.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using dcf::fuzz::check;
using dcf::run::Answer;
using dcf::run::QuestionKind;

// Goes on at every question (confirms the run, converts a filer already in
// the database, keeps the existing name of a similar one) and answers the
// closing question with `save`.
class FixedView final : public dcf::run::View {
public:
    explicit FixedView(bool save) : save_(save) {}

    void setText(std::string_view, std::string_view) override {}
    void setCount(std::string_view, std::int64_t) override {}
    void setVisible(std::string_view, bool) override {}
    void setEnabled(std::string_view, bool) override {}
    void setProgress(std::int64_t, std::int64_t) override {}
    void setBusy(bool) override {}
    void tell(const dcf::run::Message&) override {}
    void yield() override {}

    Answer ask(const dcf::run::Question& question) override {
        switch (question.kind) {
        case QuestionKind::SaveNotImported:
        case QuestionKind::SaveMinor:
        case QuestionKind::SaveClean:
            ++closingQuestions;
            return save_ ? Answer::Yes : Answer::No;
        case QuestionKind::CancelRun:
            return Answer::No;
        default:
            return Answer::Yes;
        }
    }

    int closingQuestions = 0;

private:
    bool save_;
};

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    check(static_cast<bool>(in), "a file of the source tree is readable");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    check(static_cast<bool>(out), "the input file is written");
}

constexpr std::string_view kFolderPrefix = "dcf-pipeline-fuzz-";

// The folders of pipeline fuzzers that have ended: a finding ends the
// process without its destructors, so the next one clears up after it.
void removeFoldersOfEndedProcesses(const fs::path& base) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(base, error)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(kFolderPrefix)) {
            continue;
        }
        const long pid = std::strtol(name.c_str() + kFolderPrefix.size(), nullptr, 10);
        if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            fs::remove_all(entry.path(), error);
        }
    }
}

// A folder of this process, in memory when the system has a place for it.
fs::path makeFolder() {
    std::error_code error;
    const fs::path base =
        fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
    removeFoldersOfEndedProcesses(base);
    const fs::path folder = base / (std::string(kFolderPrefix) + std::to_string(::getpid()));
    fs::remove_all(folder, error);
    check(fs::create_directory(folder, error), "a working folder is made");
    return folder;
}

using Contents = std::map<std::string, std::vector<std::string>>;

struct Harness {
    fs::path folder = makeFolder();
    fs::path logs = folder / "logs";
    fs::path input = folder / "input.DCF_ZV";
    std::unique_ptr<dcf::db::Connection> db = dcf::db::Connection::openSqliteFile(":memory:");
    std::vector<std::string> tables;
    Contents saved;

    Harness() {
        fs::create_directory(logs);
        db->executeScript(readFile(fs::path(DCF_SCHEMA_DIR) / "sqlite.sql"));
        auto& names = db->statement("select name from sqlite_master where type = 'table'");
        names.execute();
        while (names.next()) {
            tables.push_back(names.text("name"));
        }
        writeFile(input, readFile(fs::path(DCF_SAMPLES_DIR) / "two-reports.DCF_ZV"));
        FixedView view(true);
        check(convert(view).outcome == dcf::app::RunOutcome::Saved, "the first run is saved");
        saved = contents();
    }
    ~Harness() {
        db.reset();
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    Harness(const Harness&) = delete;
    Harness& operator=(const Harness&) = delete;

    dcf::app::RunResult convert(FixedView& view) {
        dcf::run::RunRequest request;
        request.logsFolder = logs;
        request.file = dcf::app::selectedFile(input);
        std::atomic<bool> cancelRequested{false};
        const dcf::app::RunResult result =
            dcf::app::runConversion(request, *db, view, cancelRequested);
        checkOutcome(view, result);
        // The logs of one run are all that is read; none is kept.
        for (const auto& entry : fs::directory_iterator(logs)) {
            fs::remove(entry.path());
        }
        return result;
    }

    void checkOutcome(const FixedView& view, const dcf::app::RunResult& result) {
        using dcf::app::RunOutcome;
        check(result.outcome != RunOutcome::Refused, "a readable file is never refused");
        check(!result.logPath.empty() && fs::exists(result.logPath), "every run leaves a log");
        check(!db->inTransaction(), "the run's transaction is over");
        check(view.closingQuestions <= 1, "one closing question at most");
        check(result.outcome != RunOutcome::RolledBack || view.closingQuestions == 1,
              "rolled back on the closing question");
        // On a healthy database the only failure is the file's own (no line
        // at all), which the driver reports.
        check(result.outcome != RunOutcome::Failed || result.counts.driverFailures > 0,
              "a failure comes from the driver");
        // A whole line of the log: the log quotes input lines, but never as
        // a line of their own that begins with "----".
        const std::string log = readFile(result.logPath);
        check(log.find("\r\n---- Error Source: SQLite\r\n") == std::string::npos,
              "the database refuses nothing the conversion sends");
    }

    // Every row of every table as text, sorted.
    Contents contents() {
        Contents all;
        for (const std::string& table : tables) {
            auto& select = db->statement("select * from " + table);
            select.execute();
            std::vector<std::string>& rows = all[table];
            while (select.next()) {
                std::string row;
                for (int i = 0; i < select.columnCount(); ++i) {
                    row += dcf::db::toText(select.value(i)) + '|';
                }
                rows.push_back(std::move(row));
            }
            std::sort(rows.begin(), rows.end());
        }
        return all;
    }
};

Harness& harness() {
    static Harness h;
    return h;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Harness& h = harness();
    writeFile(h.input, std::string_view(reinterpret_cast<const char*>(data), size));
    FixedView view(false);
    const dcf::app::RunResult result = h.convert(view);
    check(result.outcome != dcf::app::RunOutcome::Saved, "nothing is saved on No");
    check(h.contents() == h.saved, "a declined run leaves every table as it was");
    return 0;
}
