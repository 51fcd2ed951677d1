#include "cli/cli_main.h"

#include "app/program_folders.h"
#include "app/run_command.h"
#include "app/selected_file.h"
#include "app/start_up.h"
#include "cli/cli_options.h"
#include "cli/cli_view.h"
#include "db/connection.h"
#include "db/error.h"
#include "run/run_request.h"

#include <atomic>
#include <exception>
#include <memory>
#include <ostream>
#include <string>

namespace dcf::cli {
namespace {

// The flag a signal sets. A handler may only touch lock-free atomics.
std::atomic<std::atomic<bool>*> signalledFlag{nullptr};
static_assert(std::atomic<std::atomic<bool>*>::is_always_lock_free);
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void requestCancel(int /*signal*/) {
    std::atomic<bool>* flag = signalledFlag.load();
    if (flag != nullptr) {
        flag->store(true);
    }
}

constexpr int kFailedStatus = 3;

int failed(std::ostream& out, const std::string& text) {
    writeLine(out, "message: " + escapeLineBreaks(text));
    writeLine(out, std::string("outcome: ") + outcomeWord(app::RunOutcome::Failed));
    return kFailedStatus;
}

app::RunResult runWithSignals(const run::RunRequest& request, db::Connection& connection,
                              run::View& view) {
    std::atomic<bool> cancelRequested{false};
    const CancelOnSignals cancelOnSignals(cancelRequested);
    return app::runConversion(request, connection, view, cancelRequested);
}

} // namespace

const char* outcomeWord(app::RunOutcome outcome) {
    switch (outcome) {
    case app::RunOutcome::Saved:
        return "saved";
    case app::RunOutcome::RolledBack:
        return "rolled back";
    case app::RunOutcome::Cancelled:
        return "cancelled";
    case app::RunOutcome::Refused:
        return "refused";
    case app::RunOutcome::Failed:
        return "failed";
    }
    return "failed";
}

int exitStatus(app::RunOutcome outcome) {
    switch (outcome) {
    case app::RunOutcome::Saved:
        return 0;
    case app::RunOutcome::RolledBack:
    case app::RunOutcome::Cancelled:
        return 1;
    case app::RunOutcome::Refused:
        return kUsageErrorStatus;
    case app::RunOutcome::Failed:
        return kFailedStatus;
    }
    return kFailedStatus;
}

CancelOnSignals::CancelOnSignals(std::atomic<bool>& cancelRequested) {
    signalledFlag.store(&cancelRequested);
    struct sigaction action {};
    action.sa_handler = requestCancel;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previousInterrupt_);
    sigaction(SIGTERM, &action, &previousTerminate_);
}

CancelOnSignals::~CancelOnSignals() {
    sigaction(SIGINT, &previousInterrupt_, nullptr);
    sigaction(SIGTERM, &previousTerminate_, nullptr);
    signalledFlag.store(nullptr);
}

namespace {

int convertAndReport(int argc, char** argv, std::ostream& out, std::ostream& err) {
    const ParsedOptions parsed = parseOptions(argc, argv, out, err);
    if (!parsed.options) {
        return parsed.exitStatus;
    }
    const Options& options = *parsed.options;

    std::unique_ptr<db::Connection> connection;
    try {
        connection = db::Connection::open(options.target);
    } catch (const db::DbError& error) {
        return failed(out, app::cannotOpenDatabaseText(options.target, error.message()));
    }

    run::RunRequest request;
    request.logsFolder =
        options.logsFolder ? *options.logsFolder : app::chooseLogsFolder(app::programFolder());
    request.file = app::selectedFile(options.file);
    CliView view(options, request.file, out, err);
    app::RunResult result;
    try {
        result = runWithSignals(request, *connection, view);
    } catch (const std::exception& error) {
        // The engine reports its own failures; this is the last guard.
        return failed(out, error.what());
    }

    if (!result.logPath.empty()) {
        writeLine(out, "log: " + result.logPath.string());
    }
    if (!result.entriesPath.empty()) {
        writeLine(out, "entries: " + result.entriesPath.string());
    }
    for (const std::string& line : result.summaryLines) {
        writeLine(out, line);
    }
    writeLine(out, std::string("outcome: ") + outcomeWord(result.outcome));
    return exitStatus(result.outcome);
}

} // namespace

int runCli(int argc, char** argv, std::ostream& out, std::ostream& err) {
    const int status = convertAndReport(argc, argv, out, err);
    if (out) {
        return status;
    }
    // Nothing stopped the run for it: the reader of standard output went
    // away, or its disk filled. Whoever reads the status must not take the
    // lost lines for a clean run.
    err << "dcfconvert-cli: standard output could not be written (closed, or no space left); "
           "without that the exit status would have been "
        << status << ".\n";
    err.flush();
    return status <= 1 ? kFailedStatus : status;
}

} // namespace dcf::cli
