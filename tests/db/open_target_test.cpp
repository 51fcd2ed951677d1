#include "db/connection.h"
#include "db/error.h"
#include "db/target.h"
#include "test_database.h"

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

TEST(OpenTarget, SqliteDataSourceOpensNativelyAndDriverStringThroughOdbc) {
    TestDatabase database(Target::NativeSqlite);
    addDataSource("dcf_native_check", "SQLite3", database.sqliteFile().string());

    const auto plan = db::planConnection("DSN=dcf_native_check");
    EXPECT_EQ(plan.kind, db::OpenPlan::Kind::NativeSqlite);
    EXPECT_EQ(plan.sqliteFile, database.sqliteFile());
    EXPECT_EQ(db::Connection::open("DSN=dcf_native_check")->backendName(), "SQLite");

    const std::string driverString =
        "Driver=SQLite3;Database=" + database.sqliteFile().string() + ";";
    EXPECT_EQ(db::planConnection(driverString).kind, db::OpenPlan::Kind::Odbc);
    auto viaOdbc = db::Connection::open(driverString);
    EXPECT_EQ(viaOdbc->backendName(), "ODBC");
    EXPECT_EQ(viaOdbc->dialect(), db::Dialect::SQLite);
}

TEST(OpenTarget, DataSourceOfAnotherDriverGoesThroughOdbc) {
    odbcConfigFolder();
    addDataSource("dcf_server_check", "PostgreSQL Unicode", "filing");
    EXPECT_EQ(db::planConnection("DSN=dcf_server_check").kind, db::OpenPlan::Kind::Odbc);
}

TEST(OpenTarget, MissingTargetsFailWithTheReason) {
    odbcConfigFolder();
    try {
        (void)db::Connection::open("DSN=dcf_no_such_source");
        FAIL() << "opened a data source that does not exist";
    } catch (const db::DbError& error) {
        EXPECT_EQ(error.sqlState(), "IM002") << error.message();
    }
    TempFolder folder;
    // A mistyped file name must not create an empty database.
    EXPECT_THROW((void)db::Connection::open((folder.path() / "missing.db").string()), db::DbError);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "missing.db"));
}

} // namespace
} // namespace dcf::test
