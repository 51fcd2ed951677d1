#include "staging/import_dcf_records.h"

#include "db/error.h"
#include "log/clock_text.h"
#include "log/error_fields.h"
#include "log/error_log_writers.h"
#include "log/log_file.h"
#include "staging/dcf_splitter.h"
#include "staging/staging_row.h"
#include "staging/text_encoding.h"

#include <chrono>

namespace dcf::staging {
namespace {

void logStagingFailure(app::RunContext& context, const log::ErrorFields& problem) {
    app::ConversionRun& run = context.run;
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
    failure.lineNumber = run.recordCounter;
    log::LogFile(run.logsFolder).appendLines(log::stagingErrorBlock(failure));
    log::countNotImported(context);
}

// Remembers what the run reads from a line as it is split: its type, record
// and report number, and from a filer line the filer and its NAME record.
void rememberLine(app::ConversionRun& run, const SplitLine& split) {
    run.currentRecordType = split.recordType;
    run.currentRecordNumber = split.fields[2];
    run.currentReportNumber = split.fields[3];
    if (split.filerId) {
        run.filerId = *split.filerId;
    }
    if (split.nameRecordNumber) {
        run.filerNameRecordNumber = *split.nameRecordNumber;
    }
}

} // namespace

bool ImportDCFRecords(app::RunContext& context) {
    app::ConversionRun& run = context.run;
    if (run.currentLine.find('\0') != std::string::npos) {
        run.currentRecordType = std::string(utf8First(run.currentLine, 4));
        logStagingFailure(
            context, {"0", "dcfconvert",
                      "The line holds a NUL byte, which a DCF file never contains. The line is not "
                      "staged; check that the file is the DCF file exported for this filer."});
        return false;
    }
    thread_local SplitLine split;
    splitDcfLine(run.currentLine, run.expectedFieldCount, split);
    rememberLine(run, split);
    if (!split.complete) {
        logStagingFailure(context, {"0", "dcfconvert", split.problem});
        return false;
    }
    const LongValues placement = placeLongValues(split);
    if (!placement.problem.empty()) {
        logStagingFailure(context, {"0", "dcfconvert", placement.problem});
        return false;
    }
    try {
        insertStagingRow(context.db, split, run.filerId, placement);
    } catch (const db::DbError& error) {
        if (error.connectionLost()) {
            throw;
        }
        logStagingFailure(context, log::describeError(error));
        return false;
    }
    return true;
}

} // namespace dcf::staging
