#include "app/run_window_state.h"

#include "dcf/control_names.h"
#include "dcf/record_types.h"

#include <array>

namespace dcf::app {
namespace {

using namespace control;

void enableCommands(run::View& view, bool enabled) {
    for (const char* command : kRunCommands) {
        view.setEnabled(command, enabled);
    }
    view.setEnabled(cmdStop, !enabled);
    view.setText(cmdStop, "&Cancel");
}

} // namespace

void showRunning(run::View& view) {
    enableCommands(view, false);
    // A start time stays only for the run that shows it.
    for (const char* name : {LblErrorLog, cmdViewErrorFile, lblFinishTime, lblStartTime}) {
        view.setVisible(name, false);
    }
}

void showResetCounts(run::View& view, const std::string& fileName) {
    view.setCount(lblImportCount, 0);
    for (const RecordType& type : allRecordTypes()) {
        for (const char* label : {type.stagedLabel, type.importedLabel}) {
            if (label != nullptr) {
                view.setCount(label, 0);
            }
        }
    }
    view.setCount(lblErrorsImportedCount, 0);
    view.setCount(lblErrorsNotImportedCount, 0);
    for (const char* name : {lblErrorsImportedCount, lblErrorsImported, lblErrorsNotImportedCount,
                             lblErrorsNOTImported, LblErrorLog}) {
        view.setVisible(name, false);
    }
    view.setText(frmMain, "Convert - " + fileName + " (Waiting)");
    view.setText(frmMain, "Conversion - DCF Data (Running)");
}

void showIdle(run::View& view, const std::string& fileName) {
    enableCommands(view, true);
    view.setText(frmMain, "Conversion - " + fileName + " (Stopped)");
}

void showStoppedWithoutSaving(run::View& view) {
    view.setText(frmMain, "Conversion Data File (Stopped)");
}

} // namespace dcf::app
