// A whole conversion of a generated file by the batch front end, against the
// staging floor and the staging pass of the same file, each on a fresh
// database of the same target: what the run adds beyond staging is the
// renumbering of names, the filer, the cover sheets and the schedules. The
// conversion's peak resident memory is that of the batch front end.
#include "bench_database.h"
#include "bench_support.h"
#include "dcf_generator.h"
#include "floor_insert.h"
#include "importers/importer_frame.h"
#include "importers/importers.h"
#include "names/import_names.h"
#include "staging_pass.h"

#include <atomic>
#include <cstdio>
#include <exception>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

constexpr const char* kTime = "/usr/bin/time";

struct Conversion {
    double seconds = 0;
    double peakMegabytes = 0;
};

Conversion timeConversion(const dcf::bench::BenchDatabase& database,
                          const std::filesystem::path& file) {
    const std::string logs = (database.folder() / "logs").string();
    std::filesystem::create_directories(logs);
    const std::string target = database.target();
    const char* option = database.viaOdbc() ? "--connect" : "--database";
    // The front end runs under time(1): the peak memory of a child of this
    // program would count this program's own at the moment it started.
    const std::string peakFile = (database.folder() / "peak.txt").string();
    std::vector<std::string> args = {kTime,        "-f",     "%M",   "-o",         peakFile,
                                     DCF_CLI_PATH, option,   target, "--logs",     logs,
                                     "-q",         "--save", "yes",  file.string()};
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const dcf::bench::Stopwatch watch;
    pid_t child = 0;
    if (posix_spawn(&child, kTime, &actions, nullptr, argv.data(), environ) != 0) {
        throw std::runtime_error(std::string("cannot start ") + kTime);
    }
    int status = 0;
    waitpid(child, &status, 0);
    const double seconds = watch.seconds();
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("the conversion did not save, exit status " +
                                 std::to_string(WEXITSTATUS(status)));
    }
    std::ifstream peak(peakFile);
    double kilobytes = 0;
    peak >> kilobytes;
    return {seconds, kilobytes / 1024.0};
}

struct Steps {
    double names = 0;
    double coverSheets = 0;
};

// Sets the counters far ahead of the file's numbers, as in a database that
// holds many reports already; 0 keeps those of a new database.
void startCounters(dcf::db::Connection& connection, long long start) {
    if (start > 0) {
        connection.statement("update repno set NameID = ?, repno = ?")
            .run(std::int64_t{start}, std::int64_t{start});
    }
}

// Renumbering and cover sheets alone, on rows staged in the same transaction
// as a run stages them.
Steps timeSteps(const dcf::bench::BenchDatabase& database, const std::filesystem::path& file,
                long long counters) {
    auto connection = database.connect();
    startCounters(*connection, counters);
    dcf::run::RunRequest request;
    request.logsFolder = database.folder();
    request.file.path = file;
    dcf::run::ConversionRun run;
    run.filer.id = "F123456";
    dcf::run::SilentView view;
    std::atomic<bool> cancelRequested{false};
    dcf::run::RunContext context{request, run, *connection, view, cancelRequested};
    connection->begin();
    dcf::bench::stageFile(*connection, file);
    dcf::staging::ImportTemp importTemp(*connection);
    Steps steps;
    const dcf::bench::Stopwatch names;
    dcf::names::ImportNAMES(context, importTemp);
    steps.names = names.seconds();
    const dcf::bench::Stopwatch coverSheets;
    dcf::importers::ImporterContext importers{
        context, importTemp, {importTemp.nameRecords(), {}}, {}, {}};
    dcf::importers::runImporter(importers, dcf::importers::kImportFLR);
    dcf::importers::runImporter(importers, dcf::importers::kImportFORM);
    steps.coverSheets = coverSheets.seconds();
    connection->rollback();
    return steps;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const dcf::bench::Options options = dcf::bench::parseOptions(argc, argv);
        const dcf::bench::BenchDatabase floorDb(options);
        const auto file = floorDb.folder() / "bench.DCF_ZV";
        dcf::bench::generateRunFile(file, options.lines, options.names, options.seed);
        const double floor = dcf::bench::timeFloorInserts(floorDb, file);
        const dcf::bench::BenchDatabase stageDb(options);
        const double stage = dcf::bench::timeStaging(stageDb, file);
        const dcf::bench::BenchDatabase stepsDb(options);
        const Steps steps = timeSteps(stepsDb, file, options.counters);
        const dcf::bench::BenchDatabase runDb(options);
        startCounters(*runDb.connect(), options.counters);
        const Conversion run = timeConversion(runDb, file);
        std::printf("convert target=%s lines=%lld names=%lld counters=%lld floor=%.3f stage=%.3f "
                    "renumbering=%.3f cover_sheets=%.3f run=%.3f steps_over_floor=%.2f "
                    "run_over_floor=%.2f peak_mb=%.1f\n",
                    options.targetName.c_str(), options.lines, options.names, options.counters,
                    floor, stage, steps.names, steps.coverSheets, run.seconds,
                    (steps.names + steps.coverSheets) / floor, run.seconds / floor,
                    run.peakMegabytes);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "convert: %s\n", error.what());
        return 2;
    }
}
