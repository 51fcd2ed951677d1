#include "staging/import_dcf_records.h"

#include "db/error.h"
#include "dcf/dcf_splitter.h"
#include "log/clock_text.h"
#include "log/error_fields.h"
#include "log/log_file.h"
#include "run/error_log_writers.h"
#include "run/run_errors.h"
#include "staging/staging_row.h"

#include <chrono>

namespace dcf::staging {
namespace {

log::ErrorFields nulProblem() {
    return {"0", "dcfconvert",
            "The line holds a NUL byte, which a DCF file never contains. The line is not staged; "
            "check that the file is the DCF file exported for this filer."};
}

void logStagingFailure(run::RunContext& context, const log::ErrorFields& problem) {
    run::ConversionRun& run = context.run;
    log::StagingFailure failure;
    failure.filePath = run.filePath.string();
    failure.when = log::localTime(std::chrono::system_clock::now());
    failure.filerId = run.filerId;
    failure.reportNumber = run.currentReportNumber;
    failure.recordNumber = run.currentRecordNumber;
    failure.errorNumber = problem.number;
    failure.line = run.currentLine;
    failure.source = problem.source;
    failure.description = problem.description;
    failure.lineNumber = run.currentLineNumber;
    log::LogFile(run.logsFolder).appendLines(log::stagingErrorBlock(failure));
    run::countNotImported(context);
}

// What the run reads from any line as it is split: its type, record number
// and report number, which a staging block names.
void rememberLine(run::ConversionRun& run, const SplitLine& split) {
    run.currentRecordType = split.recordType;
    run.currentRecordNumber = split.fields[2];
    run.currentReportNumber = split.fields[3];
}

// What a filer line tells the run: the filer, its NAME record and the line.
void rememberFiler(run::ConversionRun& run, const SplitLine& split) {
    if (split.filerId) {
        run.filerId = *split.filerId;
    }
    if (split.nameRecordNumber) {
        run.filerNameRecordNumber = *split.nameRecordNumber;
    }
    if (split.recordType == "FLR,") {
        run.filerLine = run.currentLine;
    }
}

// A server's btree index takes entries of at most about 2.7 kB: a report
// number that long may be refused in IMPORTTEMP's index on it. The other
// indexed values are short or hashed.
bool mayBeRefusedByServer(const SplitLine& split) {
    constexpr std::size_t kLongestSureEntry = 2000;
    return split.fields[3].size() > kLongestSureEntry;
}

} // namespace

bool ImportDCFRecords(run::RunContext& context) {
    run::ConversionRun& run = context.run;
    thread_local SplitLine split;
    splitDcfLine(run.currentLine, run.expectedFieldCount, split);
    rememberLine(run, split);
    if (run.currentLine.find('\0') != std::string::npos) {
        // Read as far as it goes, so that the block names this record; none
        // of its values is kept.
        logStagingFailure(context, nulProblem());
        return false;
    }
    if (!split.complete) {
        logStagingFailure(context, {"0", "dcfconvert", split.problem});
        return false;
    }
    const LongValues placement = placeLongValues(split);
    if (!placement.problem.empty()) {
        logStagingFailure(context, {"0", "dcfconvert", placement.problem});
        return false;
    }
    // A filer line's row carries its own filer id; the run takes the filer
    // only from a filer line that is staged, so a refused one changes nothing.
    const std::string& filerId = split.filerId ? *split.filerId : run.filerId;
    try {
        if (context.scratch != nullptr && mayBeRefusedByServer(split)) {
            // The server's own verdict, so that the line is refused here, with
            // the server's reason, as it would be when staged on the server.
            insertStagingRow(context.db, split, filerId, placement);
            context.db.statement("delete from IMPORTTEMP").execute();
        }
        insertStagingRow(context.work(), split, filerId, placement);
    } catch (const db::DbError& error) {
        run::rethrowIfRunEnding(context, error);
        logStagingFailure(context, log::describeError(error));
        return false;
    }
    rememberFiler(run, split);
    return true;
}

void refuseLineWithNul(run::RunContext& context) {
    thread_local SplitLine split;
    // Fields 2 and 3, as far as they go, name the line in its block.
    splitDcfLine(context.run.currentLine, 2, split);
    rememberLine(context.run, split);
    logStagingFailure(context, nulProblem());
}

} // namespace dcf::staging
