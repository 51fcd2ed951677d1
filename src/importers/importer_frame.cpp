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
            context.work(), "select import_key from IMPORTTEMP where rec_type = ?" + order, first);
    }
    return db::KeySnapshot(context.work(),
                           "select import_key from IMPORTTEMP where rec_type = ? or rec_type = ?" +
                               order,
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

// One call of an importer: its rows, one by one.
class ImporterWalk {
public:
    ImporterWalk(run::RunContext& context, const ImporterDescription& importer)
        : context_(context), importer_(importer),
          counted_(importer.countType != nullptr ? &typeNamed(importer.countType) : nullptr) {}

    ImporterResult walk();

private:
    RowEnd convertRow(std::int64_t key);
    RowEnd settleRow(ImportRow& row, const RowOutcome& outcome);
    void countAdded();
    void trapRowError(const std::exception& error);

    run::RunContext& context_;
    const ImporterDescription& importer_;
    const RecordType* counted_;
    staging::StagedRow row_;
    ImporterResult result_;
};

ImporterResult ImporterWalk::walk() {
    if (importer_.processingMessage != nullptr) {
        context_.view.setText(control::lblProcessingMessage, importer_.processingMessage);
    }
    const db::KeySnapshot keys = selectRows(context_, importer_);
    if (importer_.beforeFirstRow != nullptr) {
        if (const std::optional<std::string> stop =
                importer_.beforeFirstRow(context_, keys.size())) {
            stopRun(context_, *stop);
            result_.end = ImporterEnd::Stopped;
            return result_;
        }
    }
    // The bar goes over this importer's rows, as it goes over the names.
    const auto rows = static_cast<std::int64_t>(keys.size());
    std::int64_t reached = 0;
    for (const std::int64_t key : keys) {
        context_.view.setProgress(++reached, rows);
        const RowEnd end = convertRow(key);
        if (end == RowEnd::Stop) {
            result_.end = ImporterEnd::Stopped;
            return result_;
        }
        if (end == RowEnd::Failed && importer_.endAtFirstError) {
            result_.end = ImporterEnd::EndedAtError;
            return result_;
        }
        context_.view.yield();
        if (importer_.testCancel && context_.run.cancelRequested) {
            result_.end = ImporterEnd::Cancelled;
            return result_;
        }
    }
    if (importer_.afterLastRow != nullptr) {
        importer_.afterLastRow(context_);
    }
    return result_;
}

RowEnd ImporterWalk::convertRow(std::int64_t key) {
    run::ConversionRun& run = context_.run;
    run.currentStagingKey = key;
    clearCurrent(run);
    RowEnd end = RowEnd::Done;
    try {
        // A row deleted since the keys were taken is passed over, and so is
        // one an earlier step already refused (its report was not converted).
        if (row_.read(context_.work(), key) && row_.text("Status") != "E") {
            makeCurrent(run, importer_, row_);
            ImportRow importRow(context_, row_);
            const RowOutcome outcome = importer_.convert(importRow);
            end = settleRow(importRow, outcome);
        }
    } catch (const std::exception& error) {
        run::rethrowIfRunEnding(context_, error);
        trapRowError(error);
        end = RowEnd::Failed;
    }
    run.currentStagingKey = 0;
    return end;
}

RowEnd ImporterWalk::settleRow(ImportRow& row, const RowOutcome& outcome) {
    switch (outcome.kind()) {
    case RowOutcome::Kind::Added:
        ++result_.added;
        result_.addedWithWarnings += row.warnings() > 0 ? 1 : 0;
        countAdded();
        return RowEnd::Done;
    case RowOutcome::Kind::Rejected:
        ++result_.rejected;
        row.reject(outcome.message());
        return RowEnd::Done;
    case RowOutcome::Kind::Refused:
        ++result_.rejected;
        return RowEnd::Done;
    case RowOutcome::Kind::Skipped:
        ++result_.skipped;
        return RowEnd::Done;
    case RowOutcome::Kind::StopRun:
        stopRun(context_, outcome.message());
        return RowEnd::Stop;
    }
    return RowEnd::Done;
}

void ImporterWalk::countAdded() {
    if (counted_ != nullptr) {
        const std::int32_t count = context_.run.countImported(*counted_);
        if (counted_->importedLabel != nullptr) {
            context_.view.setCount(counted_->importedLabel, count);
        }
    }
    if (importer_.statusText != nullptr) {
        context_.view.setText(control::statbarMain, importer_.statusText(context_.run, row_));
    }
}

// The trap of a row that failed: counted, marked and logged with the
// importer's block.
void ImporterWalk::trapRowError(const std::exception& error) {
    run::ConversionRun& run = context_.run;
    ++run.unexpectedErrorCount;
    ++result_.failed;
    run::markRejected(context_.work(), run.currentStagingKey);
    const std::tm now = log::localTime(std::chrono::system_clock::now());
    log::LogFile(run.logsFolder)
        .appendLines(importerErrorBlock(run, importer_, row_, log::describeError(error), now));
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
    return ImporterWalk(context, importer).walk();
}

} // namespace dcf::importers
