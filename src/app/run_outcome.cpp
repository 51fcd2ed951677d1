#include "app/run_outcome.h"

#include "app/run_window_state.h"
#include "db/error.h"

namespace dcf::app {
namespace {

constexpr const char* kDriverFailed =
    "The Conversion of QORVEX data did not complete successfully\r\n"
    "The QORVEX data file contains records that have caused an error.\r\n"
    "Check the Conversion Log file for an error description.\r\n"
    "Call for Velquor technical support: 1-800-555-0142 or 1-800-555-0143";

void declined(RunContext& context, const char* status, const char* processing) {
    context.db.rollback();
    context.view.setText("statbarMain", status);
    context.view.setText("lblProcessingMessage", processing);
    context.run.cancelRequested = true;
    showStoppedWithoutSaving(context.view);
}

RunOutcome save(RunContext& context) {
    try {
        context.db.commit();
    } catch (const db::DbError& error) {
        return failRun(context, "Saving failed: " + error.message());
    }
    context.view.setText("statbarMain", "Processed " + std::to_string(context.run.recordCounter) +
                                            " " + context.run.fileName + " record(s)");
    return RunOutcome::Saved;
}

bool askToSave(RunContext& context, QuestionKind kind, const std::string& text) {
    return context.view.ask({kind, "", text, Icon::None, Answer::Yes}) == Answer::Yes;
}

} // namespace

RunOutcome settleRun(RunContext& context) {
    ConversionRun& run = context.run;
    if (run.cancelRequested) {
        return RunOutcome::Cancelled;
    }
    if (run.driverFailureCount > 0) {
        context.view.tell({"", kDriverFailed, Icon::None});
        declined(context, "Conversion canceled. No files converted",
                 "Conversion canceled. No files converted.");
        return RunOutcome::Failed;
    }
    if (run.notImportedCount != 0) {
        if (askToSave(context, QuestionKind::SaveNotImported,
                      "Conversion file contains records that will not be Imported.\r\n"
                      "Check the Log file for error description\r\nDo you want to save this "
                      "conversion?")) {
            return save(context);
        }
        declined(context, "Conversion canceled. No files converted.",
                 "Conversion canceled No files converted. See conversion log.");
        return RunOutcome::RolledBack;
    }
    if (run.unexpectedErrorCount != 0) {
        if (askToSave(context, QuestionKind::SaveMinor,
                      "Conversion file has minor errors.\r\n"
                      "Check the Log file for error description\r\nDo you want to save this "
                      "conversion?")) {
            return save(context);
        }
        declined(context, "Conversion canceled. No files converted.",
                 "Conversion canceled. No files converted. See conversion log.");
        return RunOutcome::RolledBack;
    }
    context.view.setText("lblToolBar",
                         "Press 'Yes' to complete the conversion, 'No' to cancel the conversion.");
    if (askToSave(context, QuestionKind::SaveClean, "Save All Converted Records?")) {
        return save(context);
    }
    context.db.rollback();
    context.view.setText("statbarMain", "Conversion canceled. No files converted");
    context.view.setText("lblProcessingMessage", "Conversion canceled. No files converted.");
    return RunOutcome::RolledBack;
}

RunOutcome failRun(RunContext& context, const std::string& what) {
    std::string rollbackProblem;
    try {
        context.db.rollback();
    } catch (const std::exception& error) {
        // The database is gone; its transaction ends with the connection.
        rollbackProblem = std::string("\r\n") + error.what();
    }
    context.run.cancelRequested = true;
    context.view.setBusy(false);
    context.view.setText("statbarMain", "Conversion failed. No files converted.");
    context.view.setText("lblProcessingMessage", "Conversion failed. No files converted.");
    showIdle(context.view, context.run.fileName);
    showStoppedWithoutSaving(context.view);
    context.view.tell({"",
                       "The conversion failed and nothing was saved.\r\n" + what + rollbackProblem,
                       Icon::Critical});
    return RunOutcome::Failed;
}

} // namespace dcf::app
