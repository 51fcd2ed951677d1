// Staging as a run does it: read each line, split it, add its row.
#include "staging_pass.h"

#include "bench_support.h"
#include "dcf/dcf_line_reader.h"
#include "dcf/record_types.h"
#include "run/run_context.h"
#include "staging/import_dcf_records.h"

#include <stdexcept>
#include <string>

namespace dcf::bench {

void stageFile(db::Connection& connection, const std::filesystem::path& file) {
    dcf::run::ConversionRun run;
    run.logsFolder = file.parent_path();
    run.filePath = file;
    dcf::run::SilentView view;
    dcf::run::RunContext context{run, connection, view};
    dcf::DcfLineReader reader(run.filePath);
    dcf::DcfLine line;
    while (reader.next(line)) {
        ++run.recordCounter;
        const dcf::RecordType* type = dcf::findRecordType(line.text);
        if (type == nullptr || !type->staged) {
            continue;
        }
        run.currentLine = std::move(line.text);
        run.expectedFieldCount = type->fieldCount;
        dcf::staging::ImportDCFRecords(context);
    }
    if (run.notImportedCount != 0) {
        throw std::runtime_error(std::to_string(run.notImportedCount) + " lines refused");
    }
}

double timeStaging(const BenchDatabase& database, const std::filesystem::path& file) {
    auto connection = database.connect();
    const Stopwatch watch;
    connection->begin();
    stageFile(*connection, file);
    connection->commit();
    return watch.seconds();
}

} // namespace dcf::bench
