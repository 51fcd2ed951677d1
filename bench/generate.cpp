// Writes the generated whole-run file of the conversion benchmark to a path,
// for profiling a conversion by hand:
//   generate [--lines N] [--names N] [--seed N] FILE
#include "bench_database.h"
#include "dcf_generator.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    try {
        if (argc < 2) {
            throw std::invalid_argument("usage: generate [--lines N] [--names N] [--seed N] FILE");
        }
        // Every argument but the last is an option.
        std::vector<char*> options(argv, argv + argc - 1);
        const dcf::bench::Options parsed =
            dcf::bench::parseOptions(static_cast<int>(options.size()), options.data());
        dcf::bench::generateRunFile(argv[argc - 1], parsed.lines, parsed.names, parsed.seed);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "generate: %s\n", error.what());
        return 2;
    }
}
