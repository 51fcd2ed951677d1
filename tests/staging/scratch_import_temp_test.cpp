// The scratch IMPORTTEMP of a run on a server: the same table as the
// filing database's, and copied to the server row for row, nulls, long,
// non-ASCII and JSON-like values and keys included, across statements.
#include "staging/scratch_import_temp.h"

#include "test_database.h"

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

class ScratchImportTempTest : public DatabaseTest {
protected:
    // A scratch database as a run makes one, in the test's folder.
    std::unique_ptr<db::Connection> makeScratch() {
        const auto file = folder_.path() / "scratch.db";
        writeFile(file, "");
        return db::Connection::open(file.string());
    }

    TempFolder folder_;
};

std::vector<std::string> describe(db::Connection& db) {
    std::vector<std::string> lines = selectRows(
        db, "select name || ' ' || type || ' ' || pk from pragma_table_info('IMPORTTEMP')");
    for (const std::string& index :
         selectRows(db, "select name from pragma_index_list('IMPORTTEMP') order by name")) {
        std::string columns = index + ":";
        for (const std::string& column :
             selectRows(db, "select name from pragma_index_info('" + index + "') order by seqno")) {
            columns += " " + column;
        }
        lines.push_back(columns);
    }
    return lines;
}

TEST(ScratchImportTempSchema, IsTheFilingDatabasesTable) {
    const TempFolder folder;
    writeFile(folder.path() / "filing.db", "");
    writeFile(folder.path() / "scratch.db", "");
    auto filing = db::Connection::open((folder.path() / "filing.db").string());
    filing->executeScript(readFile(std::filesystem::path(DCF_SCHEMA_DIR) / "sqlite.sql"));
    auto scratch = db::Connection::open((folder.path() / "scratch.db").string());
    staging::makeScratchImportTemp(*scratch, 1);
    const std::vector<std::string> expected = describe(*filing);
    EXPECT_EQ(describe(*scratch), expected);
    EXPECT_EQ(expected.size(), 50U + 3U) << "every column and the three indexes";
}

TEST_P(ScratchImportTempTest, CopiesEveryRowWithItsKeyAndValues) {
    const auto scratch = makeScratch();
    staging::makeScratchImportTemp(*scratch, 41);
    EXPECT_EQ(staging::copyImportTemp(*scratch, connection()), 0) << "nothing to copy";
    // More than one statement carries: a few memos of a megabyte.
    for (int n = 0; n < 250; ++n) {
        const std::string memo = n % 50 == 1 ? std::string(std::size_t{1} << 20U, 'm')
                                             : "\"}],{\\u0041 \t\r\n\x01 ✓ " + std::to_string(n);
        scratch
            ->statement("insert into IMPORTTEMP (rec_type, rec_num, field7, field46, Memo) "
                        "values (?, ?, ?, ?, ?)")
            .run(std::string("RCPT"), std::to_string(n), std::string(255, 'x'),
                 std::string("Zürich ✓ 😀"), n % 2 == 0 ? db::Value(db::Null{}) : db::Value(memo));
    }
    connection().statement("delete from IMPORTTEMP").execute();
    EXPECT_EQ(staging::copyImportTemp(*scratch, connection()), 290);

    const std::string columns =
        "select import_key, rec_type, rec_num, field7, field46, coalesce(Memo, 'null'), "
        "coalesce(field8, 'null') from IMPORTTEMP order by import_key";
    EXPECT_EQ(selectRows(connection(), columns), selectRows(*scratch, columns));
    EXPECT_EQ(selectRows(connection(), "select min(import_key) from IMPORTTEMP"),
              std::vector<std::string>{"41"});
}

DCF_ON_DATABASE_SERVER(ScratchImportTempTest);

} // namespace
} // namespace dcf::test
