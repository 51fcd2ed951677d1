// The floor for staging: the same rows inserted into IMPORTTEMP with one
// prepared statement straight through the C API, nothing else. With --csv
// it writes the rows for a server's bulk copy instead.
#include "bench_database.h"
#include "bench_support.h"
#include "dcf_generator.h"
#include "floor_insert.h"

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
        if (!options.csv.empty()) {
            dcf::bench::writeFloorCsv(file, options.csv);
            return 0;
        }
        const double seconds = dcf::bench::timeFloorInserts(database, file);
        dcf::bench::report("floor", options.targetName, options.lines, seconds);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "floor: %s\n", error.what());
        return 2;
    }
}
