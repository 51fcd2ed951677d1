#include "app/run_command.h"

#include "app/cancel_import.h"
#include "app/dcf_import.h"
#include "app/program_folders.h"
#include "app/run_outcome.h"
#include "app/run_scratch.h"
#include "app/run_window_state.h"
#include "app/server_transfer.h"
#include "db/ascii_case.h"
#include "db/error.h"
#include "dcf/control_names.h"
#include "log/clock_text.h"
#include "log/log_entries.h"
#include "log/log_file.h"
#include "log/working_log_lock.h"
#include "run/run_transaction.h"
#include "staging/import_temp.h"

#include <chrono>
#include <optional>

namespace dcf::app {
namespace {

std::string now12() {
    return log::clockTime12(std::chrono::system_clock::now());
}

std::string confirmationText(const run::SelectedFile& file) {
    return "DCF File " + file.name + "\r\nfor " + file.filerType + " Filer " + file.filerName +
           "\r\nwith a Filer ID of " + file.filerId +
           "\r\nhas been selected.\r\n\r\nDo you want to continue Converting this QORVEX Data "
           "File? \r\n";
}

// A run stopped before its transaction: says why, and nothing else happens.
void refuse(run::RunContext& context, const std::string& status, const std::string& message) {
    context.cancelRequested = true;
    context.view.setText(control::statbarMain, status);
    context.view.setBusy(false);
    if (!message.empty()) {
        context.view.tell({"", message, run::Icon::None});
    }
}

void refuseToStart(run::RunContext& context, const std::exception& failure) {
    refuse(context, "Conversion could not start. No files converted.",
           std::string("The conversion could not start: ") + failure.what());
}

// Holds the logs folder's working log for this run, waiting while another
// run writes it, then deletes a leftover of an earlier run. False when the
// run does not go ahead: refused, or cancelled during the wait.
bool holdWorkingLog(run::RunContext& context, std::optional<log::WorkingLogLock>& lock,
                    RunResult& result) {
    const run::RunRequest& request = context.request;
    using Result = log::WorkingLogLock::Result;
    try {
        lock.emplace(request.logsFolder);
        const auto stop = [&context] { return context.cancelRequested.load(); };
        Result held = lock->acquire(std::chrono::milliseconds(0), stop);
        if (held == Result::Busy) {
            context.view.setText(control::statbarMain,
                                 "Waiting for another conversion writing its log in " +
                                     request.logsFolder.string() + " ...");
            held = lock->acquire(request.runLockWait, stop);
        }
        if (held != Result::Held) {
            const std::string text = held == Result::Busy ? lock->busyText() : "";
            lock.reset();
            if (held == Result::Stopped) {
                result.outcome = RunOutcome::Cancelled;
            }
            refuse(context,
                   held == Result::Busy
                       ? "Conversion log in use. No files converted."
                       : "QORVEX data file conversion canceled. No files converted.",
                   text);
            return false;
        }
        log::LogFile(request.logsFolder).removeIfExists();
        log::EntriesFile(request.logsFolder).removeIfExists();
    } catch (const std::exception& failure) {
        lock.reset();
        refuseToStart(context, failure);
        return false;
    }
    return true;
}

// Holds the working log (when the logs folder can be written at all; when
// not, the checks before the confirmation refuse the run) and puts the window
// and the run state at the start of a run; false when the run stops here.
bool prepareRun(run::RunContext& context, std::optional<log::WorkingLogLock>& lock,
                RunResult& result) {
    bool folderWritable = true;
    try {
        checkLogsFolderWritable(context.request.logsFolder);
    } catch (const std::runtime_error&) {
        folderWritable = false;
    }
    showRunning(context.view);
    showResetCounts(context.view, context.request.file.name);
    return !folderWritable || holdWorkingLog(context, lock, result);
}

// Checks the file and the logs folder and asks for confirmation; false when
// the run does not go ahead.
bool acceptRun(run::RunContext& context, std::optional<log::WorkingLogLock>& lock,
               RunResult& result) {
    const run::RunRequest& request = context.request;
    std::error_code error;
    if (!hasDcfExtension(request.file.path) ||
        !std::filesystem::is_regular_file(request.file.path, error)) {
        refuse(context, "Data file name missing. No files converted.",
               "Incorrect or Missing QORVEX data file name. No files converted");
        return false;
    }
    try {
        checkLogsFolderWritable(request.logsFolder);
    } catch (const std::runtime_error& failure) {
        refuse(context, "Conversion log cannot be written. No files converted.", failure.what());
        return false;
    }
    // The folder became writable after the run began.
    if (!lock && !holdWorkingLog(context, lock, result)) {
        return false;
    }
    context.view.setText(control::lblToolBar,
                         "Press 'Yes' to continue the conversion, 'No' to cancel the conversion.");
    const run::Question confirm{run::QuestionKind::ConfirmRun, "Converting DCF Data File",
                                confirmationText(request.file), run::Icon::Question,
                                run::Answer::No};
    if (context.view.ask(confirm) == run::Answer::No) {
        refuse(context, "QORVEX data file conversion canceled. No files converted.", "");
        return false;
    }
    return true;
}

// The log header and the start time; false (refused) when the log cannot
// be written.
bool writeHeader(run::RunContext& context) {
    context.view.setBusy(true);
    try {
        log::LogFile(context.request.logsFolder).writeHeader(std::chrono::system_clock::now());
    } catch (const std::exception& failure) {
        refuseToStart(context, failure);
        return false;
    }
    context.view.setVisible(control::lblStartTime, true);
    context.view.setText(control::lblStartTime, "Conversion start time   ----  " + now12());
    return true;
}

// Fails the run with the driver's block in the log first. When the log is
// what failed, no block can be written; the message then names the log.
RunOutcome failLogged(run::RunContext& context, const std::exception& failure,
                      const std::string& message) {
    try {
        logDriverFailure(context, failure);
    } catch (const std::exception& logFailure) {
        const std::string why = logFailure.what();
        return failRun(context, why == failure.what() ? message : message + "\r\n" + why);
    }
    return failRun(context, message);
}

// Takes the run lock and converts, in the run's open transaction. Returns
// the outcome of a run that ended here (failed, or rolled back by a cancel or
// a stop); nothing for a conversion that waits for the closing question.
std::optional<RunOutcome> convert(run::RunContext& context, staging::ImportTemp& importTemp,
                                  ServerCopy* server) {
    bool locked = false;
    try {
        // A cancel (a signal, in the batch front end) ends the wait at once.
        locked = context.target.acquireRunLock(
            context.request.runLockWait, [&context] { return context.cancelRequested.load(); });
    } catch (const db::RunLockBusy& busy) {
        return failLogged(context, busy, busy.message());
    }
    if (locked) {
        context.view.setText(control::lblToolBar,
                             "Press the Cancel icon to cancel the conversion.");
        if (server != nullptr) {
            readFromServer(context, *server);
        }
        DCFImport(context, importTemp);
        if (server != nullptr && !context.cancelRequested &&
            context.run.counts.driverFailures == 0) {
            saveOnServer(context, *server, importTemp);
        }
        if (!context.cancelRequested) {
            context.view.setText(control::lblProcessingMessage,
                                 "Finished converting QORVEX data file");
        }
    }
    context.view.setBusy(false);
    // A cancel that no importer answered still rolls the run back.
    if (context.cancelRequested && context.transaction->open()) {
        CancelImport(context);
    }
    showIdle(context.view, context.request.file.name);
    if (context.cancelRequested) {
        return RunOutcome::Cancelled;
    }
    return std::nullopt;
}

// Appends the finish line and moves the log to its final name.
void closeLog(run::RunContext& context, RunResult& result) {
    const run::RunRequest& request = context.request;
    const log::LogFile log(request.logsFolder);
    const auto now = std::chrono::system_clock::now();
    log.writeFinishLine(now);
    context.view.setText(control::lblFinishTime,
                         "Conversion finish time  ----  " + log::clockTime12(now));
    context.view.setVisible(control::lblFinishTime, true);
    const run::RunCounts& counts = context.run.counts;
    if (counts.importedWithError >= 1 || counts.notImported >= 1) {
        context.view.setVisible(control::LblErrorLog, true);
        context.view.setVisible(control::cmdViewErrorFile, true);
    }
    result.logPath =
        log::moveToFinalName(log, log::finalLogName(request.logsFolder, request.file.name,
                                                    std::chrono::system_clock::now()));
    result.entriesPath =
        log::moveEntriesToFinalName(log::EntriesFile(request.logsFolder), result.logPath);
}

// The run's IMPORTTEMP, where the run chose to keep it: in its scratch
// database on a server, in the target otherwise.
void makeImportTemp(run::RunContext& context, std::optional<staging::ImportTemp>& importTemp) {
    if (context.scratch != nullptr) {
        importTemp.emplace(context.target, *context.scratch);
    } else {
        importTemp.emplace(context.target);
    }
}

// Everything after the log header: the transaction is begun, converted,
// settled and ended, and the log finished, on every way out.
RunOutcome convertAndSettle(run::RunContext& context, RunResult& result) {
    std::optional<run::RunTransaction> transaction;
    std::optional<RunScratch> scratch;
    std::optional<staging::ImportTemp> importTemp;
    std::optional<RunOutcome> outcome;
    try {
        transaction.emplace(context);
    } catch (const std::exception& failure) {
        outcome = failLogged(context, failure,
                             nothingSaved(std::string("The database could not begin the "
                                                      "conversion's transaction: ") +
                                          failure.what()));
    }
    if (transaction) {
        try {
            scratch.emplace(context);
            makeImportTemp(context, importTemp);
        } catch (const std::exception& failure) {
            outcome = failRun(context, nothingSaved(std::string("The conversion could not make "
                                                                "its working table: ") +
                                                    failure.what()));
        }
    }
    if (transaction && !outcome) {
        try {
            outcome = convert(context, *importTemp, scratch->serverCopy());
        } catch (const std::exception& failure) {
            outcome = failLogged(context, failure, nothingSaved(failure.what()));
        }
    }
    try {
        closeLog(context, result);
        if (!outcome) {
            outcome = settleRun(context);
        }
    } catch (const std::exception& failure) {
        // A run that failed already has said so and rolled back; a log that
        // cannot be finished fails any other run, saving nothing.
        if (outcome != RunOutcome::Failed) {
            outcome = failRun(context, nothingSaved(failure.what()));
        }
    }
    return *outcome;
}

} // namespace

bool hasDcfExtension(const std::filesystem::path& path) {
    const std::string text = path.string();
    return text.size() >= 7 &&
           db::equalsIgnoringAsciiCase(std::string_view(text).substr(text.size() - 7), ".DCF_ZV");
}

void askToCancel(std::atomic<bool>& cancelRequested, run::View& view) {
    if (cancelRequested) {
        return;
    }
    const run::Question question{run::QuestionKind::CancelRun, "Conversion File Cancel",
                                 "Are you sure you want to Cancel this Conversion? \r\n",
                                 run::Icon::Critical, run::Answer::No};
    const bool yes = view.ask(question) == run::Answer::Yes;
    cancelRequested = yes;
    if (yes) {
        view.setEnabled(control::cmdStop, false);
    }
}

RunResult runConversion(const run::RunRequest& request, db::Connection& db, run::View& view,
                        std::atomic<bool>& cancelRequested) {
    // A cancel of an earlier run does not reach this one.
    cancelRequested = false;
    run::ConversionRun run;
    run::RunContext context{request, run, db, view, cancelRequested};
    RunResult result;
    // Held until the log has its final name.
    std::optional<log::WorkingLogLock> workingLog;
    if (prepareRun(context, workingLog, result) && acceptRun(context, workingLog, result) &&
        writeHeader(context)) {
        result.outcome = convertAndSettle(context, result);
    } else {
        showIdle(view, request.file.name);
    }
    result.summaryLines = std::move(run.summaryLines);
    result.counts = run.counts;
    result.linesRead = run.recordCounter;
    view.setText(control::lblToolBar, "Press the 'Exit' icon to exit the program.");
    return result;
}

} // namespace dcf::app
