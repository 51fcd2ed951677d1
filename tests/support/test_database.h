#pragma once

#include "db/connection.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace dcf::test {

// The three databases every database test runs on.
enum class Target { NativeSqlite, OdbcSqlite, PostgreSQL };

std::vector<Target> allTargets();
std::string targetName(Target target);

// A fresh filing database with the schema applied, removed again when the
// object goes. PostgreSQL gets a database of its own on the server that the
// test script started.
class TestDatabase {
public:
    explicit TestDatabase(Target target);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    // What Connection::open takes for this database.
    [[nodiscard]] const std::string& target() const { return target_; }
    [[nodiscard]] std::unique_ptr<db::Connection> connect() const {
        return db::Connection::open(target_);
    }
    [[nodiscard]] const std::filesystem::path& folder() const { return folder_; }
    [[nodiscard]] const std::filesystem::path& sqliteFile() const { return sqliteFile_; }

private:
    Target kind_;
    std::filesystem::path folder_;
    std::filesystem::path sqliteFile_;
    std::string pgDatabase_;
    std::string target_;
};

// False (and the reason in `why`) when the PostgreSQL server of the test
// script is not running here.
bool postgresAvailable(std::string& why);
// True where the test script asked for every PostgreSQL test to run.
bool postgresRequired();

// A temporary folder removed with the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    [[nodiscard]] const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& file);

// The rows of a selection, each as its values joined by "|".
std::vector<std::string> selectRows(db::Connection& connection, const std::string& sql);

// Every row of every filing table and IMPORTTEMP, as text, sorted: what a run
// that does not save must leave unchanged.
std::map<std::string, std::vector<std::string>> tableContents(db::Connection& connection);
void writeFile(const std::filesystem::path& file, std::string_view bytes);

// The folder with odbc.ini and odbcinst.ini that this test process uses
// instead of the user's.
const std::filesystem::path& odbcConfigFolder();
// Adds a data source to this process's odbc.ini.
void addDataSource(const std::string& name, const std::string& driver, const std::string& database);

struct TargetNamer {
    std::string operator()(const ::testing::TestParamInfo<Target>& target) const {
        return targetName(target.param);
    }
};

// Base fixture of the tests written once for all three databases.
class DatabaseTest : public ::testing::TestWithParam<Target> {
protected:
    void SetUp() override;
    void TearDown() override;
    db::Connection& connection() { return *connection_; }
    TestDatabase& database() { return *database_; }

private:
    std::unique_ptr<TestDatabase> database_;
    std::unique_ptr<db::Connection> connection_;
};

} // namespace dcf::test

#define DCF_ON_ALL_DATABASES(Fixture)                                                              \
    INSTANTIATE_TEST_SUITE_P(AllDatabases, Fixture,                                                \
                             ::testing::ValuesIn(::dcf::test::allTargets()),                       \
                             ::dcf::test::TargetNamer{})

// For what only SQLite does (a size limit), on both SQLite targets.
#define DCF_ON_SQLITE_DATABASES(Fixture)                                                           \
    INSTANTIATE_TEST_SUITE_P(                                                                      \
        SqliteDatabases, Fixture,                                                                  \
        ::testing::Values(::dcf::test::Target::NativeSqlite, ::dcf::test::Target::OdbcSqlite),     \
        ::dcf::test::TargetNamer{})

// For what only a server does (go away, abort a transaction).
#define DCF_ON_DATABASE_SERVER(Fixture)                                                            \
    INSTANTIATE_TEST_SUITE_P(DatabaseServer, Fixture,                                              \
                             ::testing::Values(::dcf::test::Target::PostgreSQL),                   \
                             ::dcf::test::TargetNamer{})
