#include "app/dcf_import.h"

#include "app/filer_prescan.h"
#include "app/run_command.h"
#include "importers/importer_chain.h"
#include "log/clock_text.h"
#include "log/error_fields.h"
#include "log/log_file.h"
#include "staging/dcf_line_reader.h"
#include "staging/import_dcf_records.h"
#include "staging/record_types.h"

#include <array>
#include <chrono>

namespace dcf::app {
namespace {

struct CountLabel {
    const char* type;
    const char* label;
};

// The staged counts the window shows after every line.
constexpr std::array<CountLabel, 12> kStagedLabels = {{
    {"RCPT", "lblRcptCount"},
    {"EXPN", "lblExpnCount"},
    {"LOAN", "lblLoansCount"},
    {"FORM", "lblReportsCount"},
    {"CRED", "lblCreditsCount"},
    {"ASSE", "lblAssetsCount"},
    {"NAME", "lblNameCount"},
    {"DEBT", "lblOutLoans"},
    {"CVR2", "lblNoticesCount"},
    {"CVR3", "lblActivityPurposeCount"},
    {"SMRY", "lblSummaryCount"},
    {"TEXT", "lblTextCount"},
}};

// The count lines of the summary, in their order.
constexpr std::array<CountLabel, 15> kSummary = {{
    {"FLR", " Filer(s)"},
    {"FORM", " Campaign Finance Report(s)"},
    {"RCPT", " Contribution(s)"},
    {"EXPN", " Expenditure(s)"},
    {"NAME", " Name(s)"},
    {"SMRY", " Summary Record(s)"},
    {"FINL", " Final Report Record(s)"},
    {"PLDG", " Pledge(s)"},
    {"CRED", " Credit Record(s)"},
    {"LOAN", " Loan Record(s)"},
    {"TEXT", " Text Record(s)"},
    {"DEBT", " Debt Record(s)"},
    {"GUAR", " Loan Guaranty Record(s)"},
    {"ASSE", " Asset Record(s)"},
    {"CORR", " Corrected Report Record(s)"},
}};

// "FLR," and "HDR," count under their three letters.
std::string countKey(std::string_view code) {
    return std::string(code.ends_with(',') ? code.substr(0, code.size() - 1) : code);
}

void showStagedCounts(RunContext& context) {
    context.view.setCount("lblImportCount", context.run.recordCounter);
    for (const CountLabel& entry : kStagedLabels) {
        context.view.setCount(entry.label, context.run.staged(entry.type));
    }
}

// Returns false when the run was cancelled during the pass.
bool stageLines(RunContext& context, std::int64_t totalLines) {
    ConversionRun& run = context.run;
    run.recordCounter = 0;
    context.view.setText("lblProcessingMessage", "Processing input records from DCF file.");
    staging::DcfLineReader reader(run.filePath);
    staging::DcfLine line;
    while (reader.next(line)) {
        run.currentLine = std::move(line.text);
        if (const staging::RecordType* type = staging::findRecordType(run.currentLine)) {
            run.expectedFieldCount = type->fieldCount;
            if (type->staged) {
                staging::ImportDCFRecords(context);
            }
            ++run.stagedCount[countKey(type->code)];
        }
        ++run.recordCounter;
        context.view.setText("statbarMain",
                             "Processing DCF file record # " + std::to_string(run.recordCounter));
        showStagedCounts(context);
        context.view.setProgress(run.recordCounter, totalLines);
        context.view.yield();
        if (run.cancelRequested) {
            CancelImport(context);
            context.view.setText("statbarMain", "DCF conversion canceled. No files converted.");
            return false;
        }
    }
    return true;
}

void writeSummary(RunContext& context) {
    const ConversionRun& run = context.run;
    std::vector<std::string> lines = {"Processed " + std::to_string(run.staged("HDR")) +
                                      " Header Record(s)"};
    for (const CountLabel& entry : kSummary) {
        lines.push_back("         " + std::to_string(run.staged(entry.type)) + entry.label);
    }
    context.run.summaryLines = lines;
    // The summary is one entry whose text ends in its own line end.
    lines.emplace_back();
    log::LogFile(run.logsFolder).appendLines(lines);
}

void importStaged(RunContext& context) {
    ConversionRun& run = context.run;
    context.view.setText("lblProcessingMessage", "Processing name records from DCF file");
    context.view.yield();
    // ImportNAMES comes here once names are converted.
    run.resolvedName.osPacCb = "0";
    if (run.staged("FLR") > 0) {
        importers::runImporterChain(context);
    }
    if (run.cancelRequested) {
        return;
    }
    context.view.setCount("lblErrorsNotImportedCount", run.notImportedCount);
    showStagedCounts(context);
    context.view.setText("statbarMain", "Converted " + std::to_string(run.recordCounter) + " " +
                                            run.fileName + " record(s)");
    context.view.setBusy(false);
    writeSummary(context);
}

void logDriverFailure(RunContext& context, const log::ErrorFields& error) {
    ConversionRun& run = context.run;
    ++run.driverFailureCount;
    const auto now = std::chrono::system_clock::now();
    const std::tm local = log::localTime(now);
    std::string name = log::shortDate(local) + " " + log::clockTime12(local) + ".txt";
    std::erase(name, ':');
    log::LogFile(run.logsFolder)
        .appendLines({log::errorBlockHeading(name, local), "---- (Procedure DCFImport)",
                      "---- Error # " + error.number, "---- Error Source: " + error.source,
                      "---- Error Description: " + error.description,
                      "---- Error On line # " + std::to_string(run.recordCounter)});
    context.view.setVisible("LblErrorLog", true);
    context.view.setVisible("cmdViewErrorFile", true);
}

} // namespace

void DCFImport(RunContext& context) {
    ConversionRun& run = context.run;
    try {
        context.view.setText("frmMain", "Conversion - DCF Data (Converting File)");
        context.db.statement("delete from IMPORTTEMP").execute();
        std::error_code missing;
        if (std::filesystem::exists(run.filePath, missing)) {
            if (!checkFilers(context)) {
                return;
            }
            context.view.setVisible("lblProcessingMessage", true);
            context.view.setVisible("pgbImport", true);
            const std::int64_t totalLines = run.recordCounter + 1;
            context.view.setProgress(0, totalLines);
            if (!stageLines(context, totalLines)) {
                return;
            }
            importStaged(context);
        } else {
            context.view.setText("statbarMain", "Converted 0 " + run.fileName + " record(s)");
            context.view.setBusy(false);
            writeSummary(context);
        }
    } catch (const std::exception& error) {
        logDriverFailure(context, log::describeError(error));
    }
}

} // namespace dcf::app
