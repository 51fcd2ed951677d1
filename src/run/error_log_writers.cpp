#include "run/error_log_writers.h"

#include "dcf/control_names.h"
#include "log/log_file.h"

namespace dcf::run {

void WriteToErrorLog(RunContext& context, std::string_view inputRecord,
                     std::string_view description) {
    log::LogFile(context.run.logsFolder).writeEntry(inputRecord, description);
    ++context.run.importedWithErrorCount;
    context.view.setCount(control::lblErrorsImportedCount, context.run.importedWithErrorCount);
    context.view.setVisible(control::lblErrorsImportedCount, true);
    context.view.setVisible(control::lblErrorsImported, true);
    context.view.yield();
}

void countNotImported(RunContext& context) {
    ++context.run.notImportedCount;
    context.view.setCount(control::lblErrorsNotImportedCount, context.run.notImportedCount);
    context.view.setVisible(control::lblErrorsNotImportedCount, true);
    context.view.setVisible(control::lblErrorsNOTImported, true);
}

void WriteSevereErrorLog(RunContext& context, std::string_view inputRecord,
                         std::string_view description) {
    log::LogFile(context.run.logsFolder).writeEntry(inputRecord, description);
    countNotImported(context);
    markRejected(context.work(), context.run.currentStagingKey);
    context.run.recordError = true;
    context.view.yield();
}

void markRejected(db::Connection& connection, std::int64_t key) {
    if (key != 0) {
        connection.statement("update IMPORTTEMP set Status = ? where import_key = ?").run("E", key);
    }
}

} // namespace dcf::run
