#include "test_database.h"

#include "db/error.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include <unistd.h>

namespace dcf::test {
namespace fs = std::filesystem;

namespace {

std::string env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string uniqueSuffix() {
    static std::atomic<int> counter{0};
    static const auto seed = std::random_device{}();
    return std::to_string(::getpid()) + "_" + std::to_string(seed % 100000) + "_" +
           std::to_string(++counter);
}

std::string schemaText(const char* file) {
    return readFile(fs::path(DCF_SCHEMA_DIR) / file);
}

std::string postgresConnectionString(const std::string& database) {
    return "Driver=" DCF_PSQL_ODBC_DRIVER ";Servername=" + env("DCF_TEST_PG_HOST") +
           ";Port=" + env("DCF_TEST_PG_PORT") + ";Database=" + database +
           ";Username=" + env("DCF_TEST_PG_USER") + ";Password=;";
}

std::string adminDatabase() {
    const std::string name = env("DCF_TEST_PG_DATABASE");
    return name.empty() ? "postgres" : name;
}

} // namespace

std::vector<Target> allTargets() {
    return {Target::NativeSqlite, Target::OdbcSqlite, Target::PostgreSQL};
}

std::string targetName(Target target) {
    switch (target) {
    case Target::NativeSqlite:
        return "NativeSqlite";
    case Target::OdbcSqlite:
        return "OdbcSqlite";
    case Target::PostgreSQL:
        return "PostgreSQL";
    }
    return "Unknown";
}

bool postgresAvailable(std::string& why) {
    if (env("DCF_TEST_PG_PORT").empty()) {
        why = "no PostgreSQL server for the tests (scripts/test starts one)";
        return false;
    }
    return true;
}

bool postgresRequired() {
    return !env("DCF_TEST_REQUIRE_PG").empty();
}

TempFolder::TempFolder() : path_(fs::temp_directory_path() / ("dcftest_" + uniqueSuffix())) {
    fs::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + file.string());
    }
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::vector<std::string> selectRows(db::Connection& connection, const std::string& sql) {
    auto select = connection.prepare(sql);
    select->execute();
    std::vector<std::string> rows;
    while (select->next()) {
        std::string row;
        for (int i = 0; i < select->columnCount(); ++i) {
            row += (i > 0 ? "|" : "") + db::toText(select->value(i));
        }
        rows.push_back(row);
    }
    return rows;
}

std::map<std::string, std::vector<std::string>> tableContents(db::Connection& connection) {
    static const char* const kTables[] = {"IMPORTTEMP", "FILERS",  "cvr",   "names",  "repno",
                                          "RCPT",       "EXPN",    "LOAN",  "GUAR",   "CRED",
                                          "DEBT",       "BENEFIT", "ASSET", "NOTICE", "MEASURES",
                                          "SMRY",       "memos",   "FINL",  "CORR"};
    std::map<std::string, std::vector<std::string>> tables;
    for (const char* table : kTables) {
        auto select = connection.prepare(std::string("select * from ") + table);
        select->execute();
        std::vector<std::string> rows;
        while (select->next()) {
            std::string row;
            for (int i = 0; i < select->columnCount(); ++i) {
                row += db::toText(select->value(i)) + "|";
            }
            rows.push_back(row);
        }
        std::sort(rows.begin(), rows.end());
        tables[table] = rows;
    }
    return tables;
}

void writeFile(const fs::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

const fs::path& odbcConfigFolder() {
    static const fs::path folder = [] {
        fs::path f = fs::temp_directory_path() / ("dcfodbc_" + uniqueSuffix());
        fs::create_directories(f);
        writeFile(f / "odbcinst.ini",
                  "[SQLite3]\nDescription=SQLite3 ODBC Driver\nDriver=" DCF_SQLITE_ODBC_DRIVER
                  "\n\n[PostgreSQL Unicode]\nDescription=PostgreSQL\nDriver=" DCF_PSQL_ODBC_DRIVER
                  "\n");
        writeFile(f / "odbc.ini", "");
        ::setenv("ODBCSYSINI", f.c_str(), 1);
        ::setenv("ODBCINI", (f / "odbc.ini").c_str(), 1);
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(fs::path(std::getenv("ODBCSYSINI")), ignored);
        });
        return f;
    }();
    return folder;
}

void addDataSource(const std::string& name, const std::string& driver,
                   const std::string& database) {
    const fs::path ini = odbcConfigFolder() / "odbc.ini";
    std::ofstream out(ini, std::ios::app);
    out << "[" << name << "]\nDriver=" << driver << "\nDatabase=" << database << "\n\n";
}

TestDatabase::TestDatabase(Target target) : kind_(target) {
    odbcConfigFolder();
    folder_ = fs::temp_directory_path() / ("dcfdb_" + uniqueSuffix());
    fs::create_directories(folder_);
    if (target == Target::PostgreSQL) {
        pgDatabase_ = "dcf_test_" + uniqueSuffix();
        auto admin = db::Connection::open(postgresConnectionString(adminDatabase()));
        admin->executeScript("create database " + pgDatabase_);
        target_ = postgresConnectionString(pgDatabase_);
        db::Connection::open(target_)->executeScript(schemaText("postgresql.sql"));
        return;
    }
    sqliteFile_ = folder_ / "filing.db";
    writeFile(sqliteFile_, "");
    db::Connection::open(sqliteFile_.string())->executeScript(schemaText("sqlite.sql"));
    target_ =
        target == Target::NativeSqlite
            ? sqliteFile_.string()
            : "Driver=" DCF_SQLITE_ODBC_DRIVER ";Timeout=1000;Database=" + sqliteFile_.string() +
                  ";";
}

TestDatabase::~TestDatabase() {
    if (!pgDatabase_.empty()) {
        try {
            auto admin = db::Connection::open(postgresConnectionString(adminDatabase()));
            admin->executeScript("drop database if exists " + pgDatabase_ + " with (force)");
        } catch (const std::exception& e) {
            ADD_FAILURE() << "could not drop test database " << pgDatabase_ << ": " << e.what();
        }
    }
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

void DatabaseTest::SetUp() {
    if (GetParam() == Target::PostgreSQL) {
        std::string why;
        if (!postgresAvailable(why)) {
            if (postgresRequired()) {
                FAIL() << why;
            }
            GTEST_SKIP() << why;
        }
    }
    database_ = std::make_unique<TestDatabase>(GetParam());
    connection_ = database_->connect();
}

void DatabaseTest::TearDown() {
    connection_.reset();
    database_.reset();
}

} // namespace dcf::test
