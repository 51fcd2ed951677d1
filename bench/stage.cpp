// Stages a generated DCF file into IMPORTTEMP the way a run does: read each
// line, split it, add its row, inside one transaction.
#include "bench_database.h"
#include "bench_support.h"
#include "dcf_generator.h"
#include "staging_pass.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    try {
        const dcf::bench::Options options = dcf::bench::parseOptions(argc, argv);
        dcf::bench::BenchDatabase database(options);
        std::filesystem::path file = options.file;
        if (file.empty()) {
            file = database.folder() / "bench.DCF_ZV";
            dcf::bench::generateDcfFile(file, options.lines);
        }
        const double seconds = dcf::bench::timeStaging(database, file);
        dcf::bench::report("stage", options.targetName, options.lines, seconds);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "stage: %s\n", error.what());
        return 2;
    }
}
