// Staging as a run does it: read each line, split it, add its row.
#include "staging_pass.h"

#include "bench_support.h"
#include "dcf/dcf_line_reader.h"
#include "dcf/record_types.h"
#include "run/run_context.h"
#include "staging/import_dcf_records.h"
#include "staging/import_temp.h"

#include <atomic>
#include <stdexcept>
#include <string>

namespace dcf::bench {

void stageFile(db::Connection& connection, const std::filesystem::path& file) {
    dcf::run::RunRequest request;
    request.logsFolder = file.parent_path();
    request.file.path = file;
    dcf::run::ConversionRun run;
    dcf::run::SilentView view;
    std::atomic<bool> cancelRequested{false};
    dcf::run::RunContext context{request, run, connection, view, cancelRequested};
    dcf::staging::ImportTemp importTemp(connection);
    dcf::DcfLineReader reader(file);
    dcf::DcfLine line;
    while (reader.next(line)) {
        ++run.recordCounter;
        const dcf::RecordType* type = dcf::findRecordType(line.text);
        if (type == nullptr || !type->staged) {
            continue;
        }
        dcf::staging::ImportDCFRecords(context, importTemp,
                                       {line.text, line.number, type->fieldCount});
    }
    if (run.counts.notImported != 0) {
        throw std::runtime_error(std::to_string(run.counts.notImported) + " lines refused");
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
