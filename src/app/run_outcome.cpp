#include "app/run_outcome.h"

#include "app/run_window_state.h"
#include "db/error.h"
#include "dcf/control_names.h"
#include "names/id_counters.h"

namespace dcf::app {
namespace {

constexpr const char* kDriverFailed =
    "The Conversion of QORVEX data did not complete successfully\r\n"
    "The QORVEX data file contains records that have caused an error.\r\n"
    "Check the Conversion Log file for an error description.\r\n"
    "Call for Velquor technical support: 1-800-555-0142 or 1-800-555-0143";

void rollback(run::RunContext& context) {
    if (context.transaction != nullptr) {
        context.transaction->rollback();
    }
}

void declined(run::RunContext& context, const char* status, const char* processing) {
    rollback(context);
    context.view.setText(control::statbarMain, status);
    context.view.setText(control::lblProcessingMessage, processing);
    context.cancelRequested = true;
    showStoppedWithoutSaving(context.view);
}

RunOutcome save(run::RunContext& context) {
    try {
        if (context.transaction == nullptr) {
            throw db::DbError("25000", 0, "The conversion has no open transaction.", "dcfconvert");
        }
        // On a server the rows were written there when the conversion ended.
        names::storeHeldNameId(context);
        context.transaction->commit();
    } catch (const db::DbError& error) {
        return failRun(context, nothingSaved("Saving failed: " + error.message()));
    }
    context.view.setText(control::statbarMain, "Processed " +
                                                   std::to_string(context.run.recordCounter) + " " +
                                                   context.request.file.name + " record(s)");
    return RunOutcome::Saved;
}

bool askToSave(run::RunContext& context, run::QuestionKind kind, const std::string& text) {
    return context.view.ask({kind, "", text, run::Icon::None, run::Answer::Yes}) ==
           run::Answer::Yes;
}

} // namespace

std::string nothingSaved(const std::string& what) {
    return "The conversion failed and nothing was saved.\r\n" + what;
}

RunOutcome settleRun(run::RunContext& context) {
    const run::RunCounts& counts = context.run.counts;
    if (context.cancelRequested) {
        return RunOutcome::Cancelled;
    }
    if (counts.driverFailures > 0) {
        context.view.tell({"", kDriverFailed, run::Icon::None});
        declined(context, "Conversion canceled. No files converted",
                 "Conversion canceled. No files converted.");
        return RunOutcome::Failed;
    }
    if (counts.notImported != 0) {
        if (askToSave(context, run::QuestionKind::SaveNotImported,
                      "Conversion file contains records that will not be Imported.\r\n"
                      "Check the Log file for error description\r\nDo you want to save this "
                      "conversion?")) {
            return save(context);
        }
        declined(context, "Conversion canceled. No files converted.",
                 "Conversion canceled No files converted. See conversion log.");
        return RunOutcome::RolledBack;
    }
    if (counts.unexpectedErrors != 0) {
        if (askToSave(context, run::QuestionKind::SaveMinor,
                      "Conversion file has minor errors.\r\n"
                      "Check the Log file for error description\r\nDo you want to save this "
                      "conversion?")) {
            return save(context);
        }
        declined(context, "Conversion canceled. No files converted.",
                 "Conversion canceled. No files converted. See conversion log.");
        return RunOutcome::RolledBack;
    }
    context.view.setText(control::lblToolBar,
                         "Press 'Yes' to complete the conversion, 'No' to cancel the conversion.");
    if (askToSave(context, run::QuestionKind::SaveClean, "Save All Converted Records?")) {
        return save(context);
    }
    rollback(context);
    context.view.setText(control::statbarMain, "Conversion canceled. No files converted");
    context.view.setText(control::lblProcessingMessage, "Conversion canceled. No files converted.");
    return RunOutcome::RolledBack;
}

RunOutcome failRun(run::RunContext& context, const std::string& message) {
    std::string rollbackProblem;
    try {
        rollback(context);
    } catch (const std::exception& error) {
        // The database is gone; its transaction ends with the connection.
        rollbackProblem = std::string("\r\n") + error.what();
    }
    context.cancelRequested = true;
    context.view.setBusy(false);
    context.view.setText(control::statbarMain, "Conversion failed. No files converted.");
    context.view.setText(control::lblProcessingMessage, "Conversion failed. No files converted.");
    showIdle(context.view, context.request.file.name);
    showStoppedWithoutSaving(context.view);
    context.view.tell({"", message + rollbackProblem, run::Icon::Critical});
    return RunOutcome::Failed;
}

} // namespace dcf::app
