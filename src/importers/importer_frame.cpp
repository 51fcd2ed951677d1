#include "importers/importer_frame.h"

#include "db/key_snapshot.h"
#include "dcf/control_names.h"
#include "dcf/record_types.h"
#include "importers/importer_error_block.h"
#include "log/clock_text.h"
#include "log/log_file.h"
#include "run/error_log_writers.h"
#include "run/run_errors.h"
#include "staging/construct_input_record.h"

#include <chrono>
#include <stdexcept>

namespace dcf::importers {
namespace {

// How one row ended, for the loop.
enum class RowEnd { Done, Failed, Stop };

const RecordType& typeNamed(const char* name) {
    const RecordType* type = recordTypeNamed(name);
    if (type == nullptr) {
        throw std::logic_error(std::string("No record type named ") + name);
    }
    return *type;
}

// The keys of the importer's rows: its record types, in its own order and
// then in staging order.
db::KeySnapshot selectRows(run::RunContext& context, const ImporterDescription& importer) {
    const std::string order = std::string(" order by ") +
                              (importer.orderBy ? std::string(importer.orderBy) + ", " : "") +
                              "import_key";
    const std::string first(typeNamed(importer.recordTypes[0]).code);
    if (importer.recordTypes[1] == nullptr) {
        return db::KeySnapshot(
            context.db, "select import_key from IMPORTTEMP where rec_type = ?" + order, first);
    }
    return db::KeySnapshot(
        context.db, "select import_key from IMPORTTEMP where rec_type = ? or rec_type = ?" + order,
        first, std::string(typeNamed(importer.recordTypes[1]).code));
}

// The row's own values become the current record, as entries and blocks
// name it; nothing of the previous row stays.
void makeCurrent(run::ConversionRun& run, const ImporterDescription& importer,
                 const staging::StagedRow& row) {
    run.currentRecordType = row.text("rec_type");
    run.currentRecordNumber = row.text("rec_num");
    run.currentReportNumber = row.text(importer.reportNumberColumn);
}

void clearCurrent(run::ConversionRun& run) {
    run.currentRecordType.clear();
    run.currentRecordNumber.clear();
    run.currentReportNumber.clear();
}

void stopRun(run::RunContext& context, const std::string& message) {
    context.view.tell({"", message, run::Icon::None});
    context.run.cancelRequested = true;
}

void countAdded(run::RunContext& context, const ImporterDescription& importer) {
    if (importer.countType != nullptr) {
        const RecordType& type = typeNamed(importer.countType);
        const std::int32_t count = context.run.countImported(type);
        if (type.importedLabel != nullptr) {
            context.view.setCount(type.importedLabel, count);
        }
    }
    if (importer.statusText != nullptr) {
        context.view.setText(control::statbarMain, importer.statusText(context.run));
    }
}

RowEnd settleRow(ImportRow& row, const ImporterDescription& importer, const RowOutcome& outcome,
                 ImporterResult& result) {
    run::RunContext& context = row.context();
    switch (outcome.kind()) {
    case RowOutcome::Kind::Added:
        ++result.added;
        result.addedWithWarnings += row.warnings() > 0 ? 1 : 0;
        countAdded(context, importer);
        return RowEnd::Done;
    case RowOutcome::Kind::Rejected:
        ++result.rejected;
        row.reject(outcome.message());
        return RowEnd::Done;
    case RowOutcome::Kind::Skipped:
        ++result.skipped;
        return RowEnd::Done;
    case RowOutcome::Kind::StopRun:
        stopRun(context, outcome.message());
        return RowEnd::Stop;
    }
    return RowEnd::Done;
}

// The trap of a row that failed: counted, marked and logged with the
// importer's block.
void trapRowError(run::RunContext& context, const ImporterDescription& importer,
                  const staging::StagedRow& row, const std::exception& error) {
    run::ConversionRun& run = context.run;
    ++run.unexpectedErrorCount;
    run::markRejected(context.db, run.currentStagingKey);
    const std::tm now = log::localTime(std::chrono::system_clock::now());
    log::LogFile(run.logsFolder)
        .appendLines(importerErrorBlock(run, importer, row, log::describeError(error), now));
}

RowEnd convertRow(run::RunContext& context, const ImporterDescription& importer, std::int64_t key,
                  staging::StagedRow& row, ImporterResult& result) {
    run::ConversionRun& run = context.run;
    run.currentStagingKey = key;
    clearCurrent(run);
    RowEnd end = RowEnd::Done;
    try {
        // A row deleted since the keys were taken is passed over.
        if (row.read(context.db, key)) {
            makeCurrent(run, importer, row);
            ImportRow importRow(context, row);
            const RowOutcome outcome = importer.convert(importRow);
            end = settleRow(importRow, importer, outcome, result);
        }
    } catch (const std::exception& error) {
        run::rethrowIfRunEnding(context, error);
        trapRowError(context, importer, row, error);
        ++result.failed;
        end = RowEnd::Failed;
    }
    run.currentStagingKey = 0;
    return end;
}

} // namespace

void ImportRow::warn(std::string_view message) {
    run::WriteToErrorLog(context_, staging::ConstructInputRecord(staged_), message);
    ++warnings_;
}

void ImportRow::reject(std::string_view message) {
    run::WriteSevereErrorLog(context_, staging::ConstructInputRecord(staged_), message);
}

ImporterResult runImporter(run::RunContext& context, const ImporterDescription& importer) {
    ImporterResult result;
    if (importer.processingMessage != nullptr) {
        context.view.setText(control::lblProcessingMessage, importer.processingMessage);
    }
    const db::KeySnapshot keys = selectRows(context, importer);
    if (importer.beforeFirstRow != nullptr) {
        if (const std::optional<std::string> stop = importer.beforeFirstRow(context, keys.size())) {
            stopRun(context, *stop);
            result.end = ImporterEnd::Stopped;
            return result;
        }
    }
    staging::StagedRow row;
    for (const std::int64_t key : keys) {
        const RowEnd end = convertRow(context, importer, key, row, result);
        if (end == RowEnd::Stop) {
            result.end = ImporterEnd::Stopped;
            return result;
        }
        if (end == RowEnd::Failed && importer.endAtFirstError) {
            result.end = ImporterEnd::EndedAtError;
            return result;
        }
        context.view.yield();
        if (importer.testCancel && context.run.cancelRequested) {
            result.end = ImporterEnd::Cancelled;
            return result;
        }
    }
    return result;
}

} // namespace dcf::importers
