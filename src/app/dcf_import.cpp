#include "app/dcf_import.h"

#include "app/filer_prescan.h"
#include "app/run_command.h"
#include "dcf/control_names.h"
#include "dcf/dcf_line_reader.h"
#include "dcf/record_types.h"
#include "importers/importer_chain.h"
#include "log/clock_text.h"
#include "log/error_fields.h"
#include "log/log_file.h"
#include "names/import_names.h"
#include "staging/import_dcf_records.h"

#include <chrono>

namespace dcf::app {
namespace {

// The line counter and the staged count of every type that has a counter.
void showStagedCounts(run::RunContext& context) {
    context.view.setCount(control::lblImportCount, context.run.recordCounter);
    for (const RecordType& type : allRecordTypes()) {
        if (type.stagedLabel != nullptr) {
            context.view.setCount(type.stagedLabel, context.run.staged(type));
        }
    }
}

// Returns false when the run was cancelled during the pass.
bool stageLines(run::RunContext& context, std::int64_t totalLines) {
    run::ConversionRun& run = context.run;
    run.recordCounter = 0;
    context.view.setText(control::lblProcessingMessage, "Processing input records from DCF file.");
    DcfLineReader reader(run.filePath);
    DcfLine line;
    while (reader.next(line)) {
        run.currentLine = std::move(line.text);
        run.currentLineNumber = line.number;
        const RecordType* type = findRecordType(run.currentLine);
        if (type != nullptr) {
            run.expectedFieldCount = type->fieldCount;
            if (type->staged) {
                staging::ImportDCFRecords(context);
            }
            run.countStaged(*type);
        }
        if (line.hasNul && (type == nullptr || !type->staged)) {
            staging::refuseLineWithNul(context);
        }
        ++run.recordCounter;
        context.view.setText(control::statbarMain,
                             "Processing DCF file record # " + std::to_string(run.recordCounter));
        showStagedCounts(context);
        context.view.setProgress(run.recordCounter, totalLines);
        context.view.yield();
        if (run.cancelRequested) {
            CancelImport(context);
            context.view.setText(control::statbarMain,
                                 "DCF conversion canceled. No files converted.");
            return false;
        }
    }
    return true;
}

void writeSummary(run::RunContext& context) {
    const run::ConversionRun& run = context.run;
    std::vector<std::string> lines;
    for (const RecordType& type : allRecordTypes()) {
        if (type.summaryCaption.empty()) {
            continue;
        }
        // The header's line opens the summary; the others are indented.
        const std::string count = std::to_string(run.staged(type));
        lines.push_back((lines.empty() ? "Processed " + count : "         " + count) +
                        std::string(type.summaryCaption));
    }
    context.run.summaryLines = lines;
    // The summary is one entry whose text ends in its own line end.
    lines.emplace_back();
    log::LogFile(run.logsFolder).appendLines(lines);
}

void importStaged(run::RunContext& context) {
    run::ConversionRun& run = context.run;
    context.view.setText(control::lblProcessingMessage, "Processing name records from DCF file");
    context.view.yield();
    names::ImportNAMES(context);
    run.resolvedName.osPacCb = "0";
    // The filer importer runs even without a filer line: it stops the run.
    if (run.cancelRequested || !importers::runImporterChain(context)) {
        CancelImport(context);
        return;
    }
    context.view.setCount(control::lblErrorsNotImportedCount, run.notImportedCount);
    showStagedCounts(context);
    context.view.setText(control::statbarMain, "Converted " + std::to_string(run.recordCounter) +
                                                   " " + run.fileName + " record(s)");
    context.view.setBusy(false);
    writeSummary(context);
}

} // namespace

void DCFImport(run::RunContext& context) {
    run::ConversionRun& run = context.run;
    try {
        context.view.setText(control::frmMain, "Conversion - DCF Data (Converting File)");
        context.db.statement("delete from IMPORTTEMP").execute();
        std::error_code missing;
        if (std::filesystem::exists(run.filePath, missing)) {
            if (!checkFilers(context)) {
                return;
            }
            context.view.setVisible(control::lblProcessingMessage, true);
            context.view.setVisible(control::pgbImport, true);
            const std::int64_t totalLines = run.recordCounter;
            context.view.setProgress(0, totalLines);
            if (!stageLines(context, totalLines)) {
                return;
            }
            importStaged(context);
        } else {
            context.view.setText(control::statbarMain,
                                 "Converted 0 " + run.fileName + " record(s)");
            context.view.setBusy(false);
            writeSummary(context);
        }
    } catch (const std::exception& error) {
        logDriverFailure(context, error);
    }
}

void logDriverFailure(run::RunContext& context, const std::exception& failure) {
    run::ConversionRun& run = context.run;
    const log::ErrorFields error = log::describeError(failure);
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
    context.view.setVisible(control::LblErrorLog, true);
    context.view.setVisible(control::cmdViewErrorFile, true);
}

} // namespace dcf::app
