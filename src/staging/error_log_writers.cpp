#include "staging/error_log_writers.h"

#include "log/log_file.h"
#include "run/error_counts.h"
#include "staging/construct_input_record.h"

namespace dcf::staging {

void WriteToErrorLog(run::RunContext& context, const StagedRow& row, std::string_view description) {
    log::LogFile(context.request.logsFolder).writeEntry(ConstructInputRecord(row), description);
    run::countImportedWithError(context);
    context.view.yield();
}

void WriteSevereErrorLog(run::RunContext& context, ImportTemp& importTemp, const StagedRow& row,
                         std::string_view description) {
    log::LogFile(context.request.logsFolder).writeEntry(ConstructInputRecord(row), description);
    run::countNotImported(context);
    importTemp.markRejected(row.key());
    context.view.yield();
}

} // namespace dcf::staging
