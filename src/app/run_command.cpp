#include "app/run_command.h"

#include "app/dcf_import.h"
#include "app/program_folders.h"
#include "app/run_outcome.h"
#include "app/run_window_state.h"
#include "db/ascii_case.h"
#include "db/error.h"
#include "log/clock_text.h"
#include "log/log_file.h"

#include <chrono>

namespace dcf::app {
namespace {

std::string now12() {
    return log::clockTime12(std::chrono::system_clock::now());
}

std::string confirmationText(const ConversionRun& run) {
    return "DCF File " + run.fileName + "\r\nfor " + run.fileFilerType + " Filer " +
           run.fileFilerName + "\r\nwith a Filer ID of " + run.fileFilerId +
           "\r\nhas been selected.\r\n\r\nDo you want to continue Converting this QORVEX Data "
           "File? \r\n";
}

// A run stopped before its transaction: says why, and nothing else happens.
void refuse(RunContext& context, const std::string& status, const std::string& message) {
    context.run.cancelRequested = true;
    context.view.setText("statbarMain", status);
    context.view.setBusy(false);
    if (!message.empty()) {
        context.view.tell({"", message, Icon::None});
    }
}

// Checks the file and the logs folder and asks for confirmation; false when
// the run does not go ahead.
bool acceptRun(RunContext& context) {
    ConversionRun& run = context.run;
    std::error_code error;
    if (!hasDcfExtension(run.filePath) || !std::filesystem::is_regular_file(run.filePath, error)) {
        refuse(context, "Data file name missing. No files converted.",
               "Incorrect or Missing QORVEX data file name. No files converted");
        return false;
    }
    try {
        checkLogsFolderWritable(run.logsFolder);
    } catch (const std::runtime_error& failure) {
        refuse(context, "Conversion log cannot be written. No files converted.", failure.what());
        return false;
    }
    context.view.setText("lblToolBar",
                         "Press 'Yes' to continue the conversion, 'No' to cancel the conversion.");
    const Question confirm{QuestionKind::ConfirmRun, "Converting DCF Data File",
                           confirmationText(run), Icon::Question, Answer::No};
    if (context.view.ask(confirm) == Answer::No) {
        refuse(context, "QORVEX data file conversion canceled. No files converted.", "");
        return false;
    }
    return true;
}

// Writes the header, begins the transaction and takes the run lock; false
// (with the run refused or failed) when any of them fails.
bool beginRun(RunContext& context, RunResult& result, bool& headerWritten) {
    context.view.setBusy(true);
    context.view.setVisible("lblStartTime", true);
    try {
        log::LogFile(context.run.logsFolder).writeHeader(std::chrono::system_clock::now());
        headerWritten = true;
        context.view.setText("lblStartTime", "Conversion start time   ----  " + now12());
        context.db.begin();
    } catch (const std::exception& failure) {
        refuse(context, "Conversion could not start. No files converted.",
               std::string("The conversion could not start: ") + failure.what());
        return false;
    }
    try {
        context.db.acquireRunLock(context.run.runLockWait);
    } catch (const db::DbError& failure) {
        context.db.rollback();
        context.run.cancelRequested = true;
        result.outcome = RunOutcome::Failed;
        context.view.tell({"", failure.message(), Icon::Critical});
        return false;
    }
    context.view.setText("lblToolBar", "Press the Cancel icon to cancel the conversion.");
    return true;
}

// Appends the finish line and moves the log to its final name.
void closeLog(RunContext& context, RunResult& result, bool headerWritten) {
    ConversionRun& run = context.run;
    const log::LogFile log(run.logsFolder);
    if (headerWritten) {
        const auto now = std::chrono::system_clock::now();
        log.writeFinishLine(now);
        context.view.setText("lblFinishTime",
                             "Conversion finish time  ----  " + log::clockTime12(now));
        context.view.setVisible("lblFinishTime", true);
    }
    if (run.importedWithErrorCount >= 1 || run.notImportedCount >= 1) {
        context.view.setVisible("LblErrorLog", true);
        context.view.setVisible("cmdViewErrorFile", true);
    }
    if (log.exists()) {
        result.logPath = log::moveToFinalName(
            log, log::finalLogName(run.logsFolder, run.fileName, std::chrono::system_clock::now()));
    }
}

} // namespace

bool hasDcfExtension(const std::filesystem::path& path) {
    const std::string text = path.string();
    return text.size() >= 7 &&
           db::equalsIgnoringAsciiCase(std::string_view(text).substr(text.size() - 7), ".DCF_ZV");
}

void CancelImport(RunContext& context) {
    if (context.db.inTransaction()) {
        context.db.rollback();
    }
    const char* text = "Conversion canceled by user. No files imported.";
    context.view.setText("statbarMain", text);
    context.view.setText("lblProcessingMessage", text);
    log::LogFile(context.run.logsFolder).writeCancelLine(std::chrono::system_clock::now());
    context.view.setBusy(false);
    context.view.yield();
}

void askToCancel(ConversionRun& run, View& view) {
    if (run.cancelRequested) {
        return;
    }
    const Question question{QuestionKind::CancelRun, "Conversion File Cancel",
                            "Are you sure you want to Cancel this Conversion? \r\n", Icon::Critical,
                            Answer::No};
    const bool yes = view.ask(question) == Answer::Yes;
    run.cancelRequested = yes;
    if (yes) {
        view.setEnabled("cmdStop", false);
    }
}

RunResult runConversion(RunContext& context) {
    ConversionRun& run = context.run;
    RunResult result;
    bool headerWritten = false;
    bool began = false;
    try {
        const log::LogFile log(run.logsFolder);
        log.removeIfExists();
        showRunning(context.view);
        run.resetForNewRun();
        showResetCounts(context.view, run.fileName);
        if (!acceptRun(context) || !beginRun(context, result, headerWritten)) {
            showIdle(context.view, run.fileName);
            context.view.setText("lblToolBar", "Press the 'Exit' icon to exit the program.");
            return result;
        }
        began = true;
        DCFImport(context);
        if (!run.cancelRequested) {
            context.view.setText("lblProcessingMessage", "Finished converting QORVEX data file");
        }
        context.view.setBusy(false);
        // A cancel that no importer answered still rolls the run back.
        if (run.cancelRequested && context.db.inTransaction()) {
            CancelImport(context);
        }
        showIdle(context.view, run.fileName);
        closeLog(context, result, headerWritten);
        result.outcome = settleRun(context);
    } catch (const std::exception& failure) {
        if (began) {
            result.outcome = failRun(context, failure.what());
        } else {
            refuse(context, "Conversion could not start. No files converted.",
                   std::string("The conversion could not start: ") + failure.what());
            showIdle(context.view, run.fileName);
        }
    }
    result.summaryLines = run.summaryLines;
    context.view.setText("lblToolBar", "Press the 'Exit' icon to exit the program.");
    return result;
}

} // namespace dcf::app
