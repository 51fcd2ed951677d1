#include "app/dcf_import.h"

#include "app/cancel_import.h"
#include "app/filer_prescan.h"
#include "dcf/control_names.h"
#include "dcf/dcf_line_reader.h"
#include "dcf/record_types.h"
#include "importers/importer_chain.h"
#include "log/clock_text.h"
#include "log/error_fields.h"
#include "log/log_file.h"
#include "names/import_names.h"
#include "run/run_entries.h"
#include "staging/import_dcf_records.h"

#include <chrono>

namespace dcf::app {
namespace {

// The line counter and the staged count of every type that has a counter.
void showStagedCounts(run::RunContext& context) {
    context.view.setCount(control::lblImportCount, context.run.recordCounter);
    for (const RecordType& type : allRecordTypes()) {
        if (type.stagedLabel != nullptr) {
            context.view.setCount(type.stagedLabel, context.run.counts.staged(type));
        }
    }
}

// Stages one line of the file, or logs it when it cannot be staged; returns
// its record type, if it has one.
const RecordType* stageLine(run::RunContext& context, staging::ImportTemp& importTemp,
                            const DcfLine& line) {
    const RecordType* type = findRecordType(line.text);
    const staging::StagingLine staged{line.text, line.number,
                                      type != nullptr ? type->fieldCount : 0};
    if (type != nullptr) {
        if (type->staged) {
            staging::ImportDCFRecords(context, importTemp, staged);
        }
        context.run.counts.countStaged(*type);
    }
    if (line.hasNul && (type == nullptr || !type->staged)) {
        staging::refuseLineWithNul(context, staged);
    }
    return type;
}

// Returns false when the run was cancelled during the pass.
bool stageLines(run::RunContext& context, staging::ImportTemp& importTemp,
                std::int64_t totalLines) {
    run::ConversionRun& run = context.run;
    run.recordCounter = 0;
    run.step = "ImportDCFRecords";
    context.view.setText(control::lblProcessingMessage, "Processing input records from DCF file.");
    DcfLineReader reader(context.request.file.path);
    DcfLine line;
    bool shown = false;
    while (reader.next(line)) {
        const RecordType* type = stageLine(context, importTemp, line);
        ++run.recordCounter;
        context.view.setText(control::statbarMain,
                             "Processing DCF file record # " + std::to_string(run.recordCounter));
        // Every counter once, then the two a line can change.
        if (!shown) {
            showStagedCounts(context);
            shown = true;
        } else {
            context.view.setCount(control::lblImportCount, run.recordCounter);
            if (type != nullptr && type->stagedLabel != nullptr) {
                context.view.setCount(type->stagedLabel, run.counts.staged(*type));
            }
        }
        context.view.setProgress(run.recordCounter, totalLines);
        context.view.yield();
        if (context.cancelRequested) {
            CancelImport(context);
            context.view.setText(control::statbarMain,
                                 "DCF conversion canceled. No files converted.");
            return false;
        }
    }
    return true;
}

void writeSummary(run::RunContext& context) {
    std::vector<std::string> lines;
    for (const RecordType& type : allRecordTypes()) {
        if (type.summaryCaption.empty()) {
            continue;
        }
        // The header's line opens the summary; the others are indented.
        const std::string count = std::to_string(context.run.counts.staged(type));
        lines.push_back((lines.empty() ? "Processed " + count : "         " + count) +
                        std::string(type.summaryCaption));
    }
    context.run.summaryLines = lines;
    // The summary is one entry whose text ends in its own line end.
    lines.emplace_back();
    log::LogFile(context.request.logsFolder).appendLines(lines);
}

void importStaged(run::RunContext& context, staging::ImportTemp& importTemp) {
    context.view.setText(control::lblProcessingMessage, "Processing name records from DCF file");
    context.view.yield();
    context.run.step = "ImportNAMES";
    names::ImportNAMES(context, importTemp);
    // The filer importer runs even without a filer line: it stops the run.
    if (context.cancelRequested || !importers::runImporterChain(context, importTemp)) {
        CancelImport(context);
        return;
    }
    context.view.setCount(control::lblErrorsNotImportedCount, context.run.counts.notImported);
    showStagedCounts(context);
    context.view.setText(control::statbarMain, "Converted " +
                                                   std::to_string(context.run.recordCounter) + " " +
                                                   context.request.file.name + " record(s)");
    context.view.setBusy(false);
    writeSummary(context);
}

} // namespace

void DCFImport(run::RunContext& context, staging::ImportTemp& importTemp) {
    try {
        context.view.setText(control::frmMain, "Conversion - DCF Data (Converting File)");
        importTemp.clear();
        std::error_code missing;
        if (!std::filesystem::exists(context.request.file.path, missing)) {
            context.view.setText(control::statbarMain,
                                 "Converted 0 " + context.request.file.name + " record(s)");
            context.view.setBusy(false);
            writeSummary(context);
            return;
        }
        if (!checkFilers(context)) {
            return;
        }
        context.view.setVisible(control::lblProcessingMessage, true);
        context.view.setVisible(control::pgbImport, true);
        const std::int64_t totalLines = context.run.recordCounter;
        context.view.setProgress(0, totalLines);
        if (stageLines(context, importTemp, totalLines)) {
            context.run.stagedLines.placeKeys(
                importTemp.stagedKeyRuns(context.run.stagedLines.count()));
            importStaged(context, importTemp);
        }
    } catch (const std::exception& error) {
        logDriverFailure(context, error);
    }
}

void logDriverFailure(run::RunContext& context, const std::exception& failure) {
    const log::ErrorFields error = log::describeError(failure);
    ++context.run.counts.driverFailures;
    run::recordEntry(context, log::EntryOutcome::RunFailed, {}, error.description, "DCFImport");
    const auto now = std::chrono::system_clock::now();
    const std::tm local = log::localTime(now);
    std::string name = log::shortDate(local) + " " + log::clockTime12(local) + ".txt";
    std::erase(name, ':');
    log::LogFile(context.request.logsFolder)
        .appendLines({log::errorBlockHeading(name, local), "---- (Procedure DCFImport)",
                      "---- Error # " + error.number, "---- Error Source: " + error.source,
                      "---- Error Description: " + error.description,
                      "---- Error On line # " + std::to_string(context.run.recordCounter)});
    context.view.setVisible(control::LblErrorLog, true);
    context.view.setVisible(control::cmdViewErrorFile, true);
}

} // namespace dcf::app
