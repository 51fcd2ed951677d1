#include "staging/import_dcf_records.h"

#include "db/error.h"
#include "dcf/dcf_splitter.h"
#include "dcf/record_types.h"
#include "log/clock_text.h"
#include "log/error_fields.h"
#include "log/log_file.h"
#include "run/error_counts.h"
#include "run/run_entries.h"
#include "run/run_errors.h"
#include "staging/error_log_writers.h"
#include "staging/staging_row.h"

#include <chrono>

namespace dcf::staging {
namespace {

log::ErrorFields nulProblem() {
    return {"0", "dcfconvert",
            "The line holds a NUL byte, which a DCF file never contains. The line is not staged; "
            "check that the file is the DCF file exported for this filer."};
}

// The staging block names the record by what the line's split read of its
// record and report numbers, as far as it went.
void logStagingFailure(run::RunContext& context, const StagingLine& line, const SplitLine& split,
                       const log::ErrorFields& problem) {
    log::StagingFailure failure;
    failure.filePath = context.request.file.path.string();
    failure.when = log::localTime(std::chrono::system_clock::now());
    failure.filerId = context.run.filer.id;
    failure.reportNumber = split.fields[3];
    failure.recordNumber = split.fields[2];
    failure.errorNumber = problem.number;
    failure.line = line.text;
    failure.source = problem.source;
    failure.description = problem.description;
    failure.lineNumber = line.number;
    log::EntryRecord record;
    record.lineNumber = line.number;
    record.type = entryRecordType(split.recordType);
    record.number = failure.recordNumber;
    record.reportNumber = failure.reportNumber;
    record.input = std::string(line.text);
    run::recordEntry(context, log::EntryOutcome::NotImported, std::move(record),
                     problem.description, "ImportDCFRecords");
    log::LogFile(context.request.logsFolder).appendLines(log::stagingErrorBlock(failure));
    run::countNotImported(context);
}

// What a staged filer line tells the run: the filer, its NAME record and the
// line.
void takeFiler(run::RunFiler& filer, const StagingLine& line, const SplitLine& split) {
    if (split.filerId) {
        filer.id = *split.filerId;
    }
    if (split.nameRecordNumber) {
        filer.nameRecordNumber = *split.nameRecordNumber;
    }
    static const std::string_view filerCode = recordType("FLR").code;
    if (split.recordType == filerCode) {
        filer.line = line.text;
    }
}

} // namespace

bool ImportDCFRecords(run::RunContext& context, ImportTemp& importTemp, const StagingLine& line) {
    thread_local SplitLine split;
    splitDcfLine(line.text, line.fieldCount, split);
    if (line.text.find('\0') != std::string_view::npos) {
        // Read as far as it goes, so that the block names this record; none
        // of its values is kept.
        logStagingFailure(context, line, split, nulProblem());
        return false;
    }
    if (!split.complete) {
        logStagingFailure(context, line, split, {"0", "dcfconvert", split.problem});
        return false;
    }
    const LongValues placement = placeLongValues(split);
    if (!placement.problem.empty()) {
        logStagingFailure(context, line, split, {"0", "dcfconvert", placement.problem});
        return false;
    }
    // A filer line's row carries its own filer id; the run takes the filer
    // only from a filer line that is staged, so a refused one changes nothing.
    const std::string& filerId = split.filerId ? *split.filerId : context.run.filer.id;
    try {
        importTemp.stage(split, filerId, placement);
        context.run.stagedLines.add(line.number);
    } catch (const db::DbError& error) {
        run::rethrowIfRunEnding(context, error);
        logStagingFailure(context, line, split, log::describeError(error));
        return false;
    }
    takeFiler(context.run.filer, line, split);
    if (split.filerId) {
        context.useFiler(*split.filerId);
    }
    return true;
}

void refuseLineWithNul(run::RunContext& context, const StagingLine& line) {
    thread_local SplitLine split;
    // Fields 2 and 3, as far as they go, name the line in its block.
    splitDcfLine(line.text, 2, split);
    logStagingFailure(context, line, split, nulProblem());
}

} // namespace dcf::staging
