#include "staging/error_log_writers.h"

#include "dcf/record_types.h"
#include "log/log_file.h"
#include "run/error_counts.h"
#include "run/run_entries.h"
#include "staging/construct_input_record.h"

namespace dcf::staging {

std::string entryRecordType(std::string_view code) {
    const RecordType* type = findRecordType(code);
    return std::string(type != nullptr ? type->name : code);
}

log::EntryRecord stagedEntryRecord(const run::RunContext& context, const StagedRow& row) {
    log::EntryRecord record;
    record.lineNumber = context.run.stagedLines.lineOf(row.key());
    record.type = entryRecordType(row.text("rec_type"));
    record.number = row.text("rec_num");
    record.reportNumber = row.text("repno");
    record.input = ConstructInputRecord(row);
    return record;
}

namespace {

// The entry in the entries file first, then in the log.
void writeEntry(run::RunContext& context, const StagedRow& row, std::string_view description,
                log::EntryOutcome outcome) {
    log::EntryRecord record = stagedEntryRecord(context, row);
    const std::string input = record.input;
    run::recordEntry(context, outcome, std::move(record), description);
    log::LogFile(context.request.logsFolder).writeEntry(input, description);
}

} // namespace

void WriteToErrorLog(run::RunContext& context, const StagedRow& row, std::string_view description) {
    writeEntry(context, row, description, log::EntryOutcome::Corrected);
    run::countImportedWithError(context);
    context.view.yield();
}

void WriteSevereErrorLog(run::RunContext& context, ImportTemp& importTemp, const StagedRow& row,
                         std::string_view description) {
    writeEntry(context, row, description, log::EntryOutcome::NotImported);
    run::countNotImported(context);
    importTemp.markRejected(row.key());
    context.view.yield();
}

} // namespace dcf::staging
