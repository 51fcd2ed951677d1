#include "log/error_log_writers.h"

#include "db/value.h"
#include "log/log_file.h"
#include "staging/staged_row.h"

namespace dcf::log {

void WriteToErrorLog(app::RunContext& context, std::string_view inputRecord,
                     std::string_view description) {
    LogFile(context.run.logsFolder).writeEntry(inputRecord, description);
    ++context.run.importedWithErrorCount;
    context.view.setCount("lblErrorsImportedCount", context.run.importedWithErrorCount);
    context.view.setVisible("lblErrorsImportedCount", true);
    context.view.setVisible("lblErrorsImported", true);
    context.view.yield();
}

void countNotImported(app::RunContext& context) {
    ++context.run.notImportedCount;
    context.view.setCount("lblErrorsNotImportedCount", context.run.notImportedCount);
    context.view.setVisible("lblErrorsNotImportedCount", true);
    context.view.setVisible("lblErrorsNOTImported", true);
}

void WriteSevereErrorLog(app::RunContext& context, std::string_view inputRecord,
                         std::string_view description) {
    LogFile(context.run.logsFolder).writeEntry(inputRecord, description);
    countNotImported(context);
    staging::markRejected(context.db, context.run.currentStagingKey);
    context.run.recordError = true;
    context.view.yield();
}

} // namespace dcf::log
