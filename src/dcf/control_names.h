#pragma once

// The names of the main window's controls: each widget's objectName, and how
// the engine, the batch front end and the tests address a control through
// the view. Written once here, so a misspelt name does not compile.
//
// Each constant's value is its own name, which the macro makes sure of.
#define DCF_CONTROL(name) inline constexpr const char* name = #name;

namespace dcf::control {

// The window itself: its caption.
DCF_CONTROL(frmMain)

// Commands.
DCF_CONTROL(cmdGetFile)
DCF_CONTROL(cmdRun)
DCF_CONTROL(cmdStop)
DCF_CONTROL(cmdExit)
DCF_CONTROL(cmdViewErrorFile)
DCF_CONTROL(mnuFile)
DCF_CONTROL(mnuRun)
DCF_CONTROL(mnuFileExit)
DCF_CONTROL(mnuSetup)
DCF_CONTROL(mnuSetupImport)
DCF_CONTROL(mnuAbout)

// The selected file, the hint line and what the run is doing.
DCF_CONTROL(lblImportFileName)
DCF_CONTROL(lblFilerType)
DCF_CONTROL(lblFilerID)
DCF_CONTROL(lblToolBar)
DCF_CONTROL(lblProcessingMessage)
DCF_CONTROL(lblStartTime)
DCF_CONTROL(lblFinishTime)
DCF_CONTROL(LblErrorLog)
// Panel 1 of the status bar.
DCF_CONTROL(statbarMain)
DCF_CONTROL(pgbImport)
DCF_CONTROL(rtbLog)

// Counters: lines read, then per record type the lines staged and the rows
// imported (the record-type table says which type each one counts).
DCF_CONTROL(lblImportCount)
DCF_CONTROL(lblNameCount)
DCF_CONTROL(lblImpNameCount)
DCF_CONTROL(lblReportsCount)
DCF_CONTROL(lblImpFormCount)
DCF_CONTROL(lblRcptCount)
DCF_CONTROL(lblImpRcptCount)
DCF_CONTROL(lblExpnCount)
DCF_CONTROL(lblImpExpnCount)
DCF_CONTROL(lblLoansCount)
DCF_CONTROL(lblImpLoanCount)
DCF_CONTROL(lblCreditsCount)
DCF_CONTROL(lblImpCredCount)
DCF_CONTROL(lblAssetsCount)
DCF_CONTROL(lblImpAssetCount)
DCF_CONTROL(lblOutLoans)
DCF_CONTROL(lblImpDebtCount)
DCF_CONTROL(lblNoticesCount)
DCF_CONTROL(lblImpNoticesCount)
DCF_CONTROL(lblActivityPurposeCount)
DCF_CONTROL(lblImpActivityPurposeCount)
DCF_CONTROL(lblSummaryCount)
DCF_CONTROL(lblImpSummaryCount)
DCF_CONTROL(lblTextCount)
DCF_CONTROL(lblImpTextCount)

// The error counters and their captions.
DCF_CONTROL(lblErrorsImported)
DCF_CONTROL(lblErrorsImportedCount)
DCF_CONTROL(lblErrorsNOTImported)
DCF_CONTROL(lblErrorsNotImportedCount)

} // namespace dcf::control

#undef DCF_CONTROL
