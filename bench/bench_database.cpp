#include "bench_database.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include <unistd.h>

namespace dcf::bench {

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        if (key == "--lines") {
            options.lines = std::stoll(argv[i + 1]);
        } else if (key == "--target") {
            options.targetName = argv[i + 1];
        } else if (key == "--names") {
            options.names = std::stoll(argv[i + 1]);
        } else if (key == "--counters") {
            options.counters = std::stoll(argv[i + 1]);
        } else if (key == "--seed") {
            options.seed = std::stoull(argv[i + 1]);
        } else if (key == "--file") {
            options.file = argv[i + 1];
        } else if (key == "--connect") {
            options.connect = argv[i + 1];
            options.targetName = "odbc";
        } else if (key == "--csv") {
            options.csv = argv[i + 1];
        } else {
            throw std::invalid_argument(
                "usage: " + std::string(argv[0]) +
                " [--lines N] [--target native|odbc] [--names N] [--counters N] [--seed N] "
                "[--file PATH] [--connect STRING] [--csv PATH]");
        }
    }
    if (options.targetName != "native" && options.targetName != "odbc") {
        throw std::invalid_argument("--target is native or odbc");
    }
    return options;
}

BenchDatabase::BenchDatabase(const Options& options)
    : odbc_(options.targetName == "odbc"), connect_(options.connect) {
    // Several databases may live in one program at once.
    static int made = 0;
    folder_ = std::filesystem::temp_directory_path() /
              ("dcfbench_" + std::to_string(::getpid()) + "_" + std::to_string(++made));
    std::filesystem::create_directories(folder_);
    if (!connect_.empty()) {
        return;
    }
    file_ = folder_ / "filing.db";
    std::ofstream(file_).flush();
    std::ifstream schema(DCF_SCHEMA_DIR "/sqlite.sql");
    std::stringstream text;
    text << schema.rdbuf();
    db::Connection::open(file_.string())->executeScript(text.str());
}

BenchDatabase::~BenchDatabase() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::string BenchDatabase::target() const {
    if (!connect_.empty()) {
        return connect_;
    }
    return odbc_ ? "Driver=" DCF_SQLITE_ODBC_DRIVER ";Database=" + file_.string() + ";"
                 : file_.string();
}

} // namespace dcf::bench
