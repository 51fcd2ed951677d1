#pragma once

#include "db/connection.h"

#include <filesystem>
#include <memory>
#include <string>

namespace dcf::bench {

struct Options {
    long long lines = 200000;
    std::string targetName = "native"; // native | odbc
    long long names = 20000;           // distinct names of a whole-run file
    long long counters = 0;            // where repno's counters start; 0: a new database
};

// --lines N --target native|odbc --names N --counters N
Options parseOptions(int argc, char** argv);

// A fresh SQLite filing database in a temporary folder, opened natively or
// through the SQLite ODBC driver; removed with the object.
class BenchDatabase {
public:
    explicit BenchDatabase(const Options& options);
    ~BenchDatabase();
    BenchDatabase(const BenchDatabase&) = delete;
    BenchDatabase& operator=(const BenchDatabase&) = delete;

    [[nodiscard]] const std::filesystem::path& folder() const { return folder_; }
    [[nodiscard]] const std::filesystem::path& file() const { return file_; }
    [[nodiscard]] bool viaOdbc() const { return odbc_; }
    [[nodiscard]] std::string target() const;
    [[nodiscard]] std::unique_ptr<db::Connection> connect() const {
        return db::Connection::open(target());
    }

private:
    std::filesystem::path folder_;
    std::filesystem::path file_;
    bool odbc_ = false;
};

} // namespace dcf::bench
