#include "app/run_window_state.h"

#include <array>

namespace dcf::app {
namespace {

constexpr std::array<const char*, 6> kCommands = {"cmdRun",  "cmdExit",  "cmdGetFile",
                                                  "mnuFile", "mnuSetup", "mnuAbout"};

constexpr std::array<const char*, 27> kCountLabels = {
    "lblImportCount",
    "lblNameCount",
    "lblImpNameCount",
    "lblReportsCount",
    "lblImpFormCount",
    "lblRcptCount",
    "lblImpRcptCount",
    "lblExpnCount",
    "lblImpExpnCount",
    "lblLoansCount",
    "lblImpLoanCount",
    "lblCreditsCount",
    "lblImpCredCount",
    "lblAssetsCount",
    "lblImpAssetCount",
    "lblOutLoans",
    "lblImpDebtCount",
    "lblNoticesCount",
    "lblImpNoticesCount",
    "lblActivityPurposeCount",
    "lblImpActivityPurposeCount",
    "lblSummaryCount",
    "lblImpSummaryCount",
    "lblTextCount",
    "lblImpTextCount",
    "lblErrorsImportedCount",
    "lblErrorsNotImportedCount",
};

void enableCommands(View& view, bool enabled) {
    for (const char* command : kCommands) {
        view.setEnabled(command, enabled);
    }
    view.setEnabled("cmdStop", !enabled);
    view.setText("cmdStop", "&Cancel");
}

} // namespace

void showRunning(View& view) {
    enableCommands(view, false);
    for (const char* control : {"LblErrorLog", "cmdViewErrorFile", "lblFinishTime"}) {
        view.setVisible(control, false);
    }
}

void showResetCounts(View& view, const std::string& fileName) {
    for (const char* label : kCountLabels) {
        view.setCount(label, 0);
    }
    for (const char* control :
         {"lblErrorsImportedCount", "lblErrorsImported", "lblErrorsNotImportedCount",
          "lblErrorsNOTImported", "LblErrorLog"}) {
        view.setVisible(control, false);
    }
    view.setText("frmMain", "Convert - " + fileName + " (Waiting)");
    view.setText("frmMain", "Conversion - DCF Data (Running)");
}

void showIdle(View& view, const std::string& fileName) {
    enableCommands(view, true);
    view.setText("frmMain", "Conversion - " + fileName + " (Stopped)");
}

void showStoppedWithoutSaving(View& view) {
    view.setText("frmMain", "Conversion Data File (Stopped)");
}

} // namespace dcf::app
