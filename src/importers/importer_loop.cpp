#include "importers/importer_loop.h"

#include "app/run_command.h"
#include "db/error.h"
#include "db/key_snapshot.h"
#include "log/clock_text.h"
#include "log/error_fields.h"
#include "log/log_file.h"

#include <chrono>

namespace dcf::importers {
namespace {

std::vector<std::string> recordNumberLine(const app::ConversionRun& run) {
    return {"Record Number = " + run.currentRecordNumber};
}

} // namespace

std::vector<std::string> importerErrorBlock(const app::ConversionRun& run,
                                            const ImporterSetup& setup,
                                            const std::string& errorNumber,
                                            const std::string& source,
                                            const std::string& description) {
    const std::tm now = log::localTime(std::chrono::system_clock::now());
    std::vector<std::string> lines = {
        log::errorBlockHeading(run.filePath.string(), now),
        "(Procedure " + setup.procedure + ")",
        "Input Record Causing Error: ",
        "Record Type = '" + run.currentRecordType + "'",
        "Filer ID = " + run.filerId,
        "Report # = " + run.currentReportNumber,
    };
    for (std::string& line :
         (setup.identifyingLines ? setup.identifyingLines : recordNumberLine)(run)) {
        lines.push_back(std::move(line));
    }
    lines.push_back("---- Error # " + errorNumber);
    lines.push_back("---- Error Source: " + source);
    lines.push_back("---- Error Description: " + description);
    if (setup.lineNumberInBlock) {
        lines.push_back("---- Error On line # " + std::to_string(run.recordCounter));
    }
    return lines;
}

void trapImporterError(app::RunContext& context, const ImporterSetup& setup,
                       const std::exception& error) {
    ++context.run.unexpectedErrorCount;
    const log::ErrorFields fields = log::describeError(error);
    staging::markRejected(context.db, context.run.currentStagingKey);
    log::LogFile(context.run.logsFolder)
        .appendLines(importerErrorBlock(context.run, setup, fields.number, fields.source,
                                        fields.description));
}

bool runImporter(app::RunContext& context, const ImporterSetup& setup, const ConvertRow& convert) {
    app::ConversionRun& run = context.run;
    const db::KeySnapshot keys(context.db, setup.keyQuery, setup.recordType);
    staging::StagedRow row;
    for (const std::int64_t key : keys) {
        run.currentStagingKey = key;
        bool failed = false;
        try {
            if (row.read(context.db, key)) {
                run.currentRecordType = row.text("rec_type");
                run.currentRecordNumber = row.text("rec_num");
                run.currentReportNumber = row.text("repno");
                if (convert(context, row) && !setup.countType.empty()) {
                    const std::int32_t count = ++run.importedCount[setup.countType];
                    context.view.setCount(setup.countLabel, count);
                    context.view.setText("statbarMain", setup.statusText);
                }
            }
        } catch (const std::exception& error) {
            // A row that fails is marked and logged; the next row goes on.
            trapImporterError(context, setup, error);
            failed = true;
        }
        run.currentStagingKey = 0;
        if (failed && setup.endAtFirstError) {
            return false;
        }
        context.view.yield();
        if (setup.testCancel && run.cancelRequested) {
            CancelImport(context);
            return false;
        }
    }
    return true;
}

} // namespace dcf::importers
