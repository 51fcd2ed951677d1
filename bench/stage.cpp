// Stages a generated DCF file into IMPORTTEMP the way a run does: read each
// line, split it, add its row, inside one transaction.
#include "bench_database.h"
#include "bench_support.h"
#include "dcf/dcf_line_reader.h"
#include "dcf/record_types.h"
#include "dcf_generator.h"
#include "run/run_context.h"
#include "staging/import_dcf_records.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    try {
        const dcf::bench::Options options = dcf::bench::parseOptions(argc, argv);
        dcf::bench::BenchDatabase database(options);
        dcf::bench::generateDcfFile(database.folder() / "bench.DCF_ZV", options.lines);
        auto connection = database.connect();

        dcf::run::ConversionRun run;
        run.logsFolder = database.folder();
        run.filePath = database.folder() / "bench.DCF_ZV";
        dcf::run::SilentView view;
        dcf::run::RunContext context{run, *connection, view};

        const dcf::bench::Stopwatch watch;
        connection->begin();
        dcf::DcfLineReader reader(run.filePath);
        dcf::DcfLine line;
        long long staged = 0;
        while (reader.next(line)) {
            ++run.recordCounter;
            const dcf::RecordType* type = dcf::findRecordType(line.text);
            if (type == nullptr || !type->staged) {
                continue;
            }
            run.currentLine = std::move(line.text);
            run.expectedFieldCount = type->fieldCount;
            staged += dcf::staging::ImportDCFRecords(context) ? 1 : 0;
        }
        connection->commit();
        dcf::bench::report("stage", options.targetName, options.lines, watch.seconds());
        if (run.notImportedCount != 0 || staged != options.lines - 1) {
            std::fprintf(stderr, "stage: %lld lines staged, %d refused\n", staged,
                         run.notImportedCount);
            return 1;
        }
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "stage: %s\n", error.what());
        return 2;
    }
}
