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
    unsigned long long seed = 1;       // of a whole-run file
    std::string file;                  // a DCF file to use instead of a generated one
    std::string connect;               // an ODBC connection string to an empty filing database
    std::string csv;                   // where the floor writes its rows for a bulk copy
};

// --lines N --target native|odbc --names N --counters N --seed N --file PATH
// --connect STRING (a database the caller made; the target is then odbc) --csv PATH
Options parseOptions(int argc, char** argv);

// A fresh SQLite filing database in a temporary folder, opened natively or
// through the SQLite ODBC driver, or the database of --connect; the folder
// is removed with the object.
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
    std::string connect_;
};

} // namespace dcf::bench
