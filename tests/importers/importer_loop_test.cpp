#include "importers/importer_loop.h"

#include "db/error.h"
#include "recording_view.h"
#include "test_database.h"

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

// Five staged memos converted into memos by a test importer that fails on
// the third.
class ImporterLoopTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        run_.logsFolder = logs_.path();
        auto& insert = connection().statement(
            "insert into IMPORTTEMP (rec_type, rec_num, repno, Status, field7) "
            "values (?, ?, ?, ?, ?)");
        for (int n = 1; n <= 5; ++n) {
            insert.run("TEXT", std::to_string(n), "1", "I", "memo " + std::to_string(n));
        }
        setup_.procedure = "ImportTEXT";
        setup_.keyQuery =
            "select import_key from IMPORTTEMP where rec_type = ? order by import_key";
        setup_.recordType = "TEXT";
        setup_.countType = "TEXT";
        setup_.countLabel = "lblImpTextCount";
        setup_.statusText = "Importing memos";
    }

    bool convert(app::RunContext& context, const staging::StagedRow& row) {
        if (row.text("rec_num") == "3") {
            throw db::DbError("22001", 7, "value too long", "test driver");
        }
        context.db.statement("insert into memos (filer_id, repno, memo_a) values (?, ?, ?)")
            .run("F1", row.text("repno"), row.field(7));
        return true;
    }

    std::vector<std::string> column(const std::string& sql) {
        std::vector<std::string> values;
        auto select = connection().prepare(sql);
        select->execute();
        while (select->next()) {
            values.push_back(db::toText(select->value(0)));
        }
        return values;
    }

    bool runLoop() {
        app::RunContext context{run_, connection(), view_};
        return importers::runImporter(
            context, setup_,
            [this](app::RunContext& c, const staging::StagedRow& row) { return convert(c, row); });
    }

    TempFolder logs_;
    app::ConversionRun run_;
    RecordingView view_;
    importers::ImporterSetup setup_;
};

TEST_P(ImporterLoopTest, FailingRowIsMarkedAndLoggedAndTheRestConvert) {
    EXPECT_TRUE(runLoop());
    EXPECT_EQ(column("select memo_a from memos order by memo_a"),
              (std::vector<std::string>{"memo 1", "memo 2", "memo 4", "memo 5"}));
    EXPECT_EQ(column("select Status from IMPORTTEMP order by import_key"),
              (std::vector<std::string>{"I", "I", "E", "I", "I"}));
    EXPECT_EQ(run_.unexpectedErrorCount, 1);
    EXPECT_EQ(run_.imported("TEXT"), 4);
    EXPECT_EQ(view_.count("lblImpTextCount"), 4);
    EXPECT_EQ(view_.text("statbarMain"), "Importing memos");
    const std::string log = readFile(logs_.path() / "LogFile.txt");
    EXPECT_NE(
        log.find(
            "\r\n(Procedure ImportTEXT)\r\nInput Record Causing Error: \r\nRecord Type = 'TEXT'\r\n"
            "Filer ID = \r\nReport # = 1\r\nRecord Number = 3\r\n---- Error # 22001 (7)\r\n"
            "---- Error Source: test driver\r\n---- Error Description: value too long\r\n"
            "---- Error On line # 0\r\n"),
        std::string::npos)
        << log;
}

TEST_P(ImporterLoopTest, VariationsEndAtFirstErrorAndKeepNoCount) {
    setup_.endAtFirstError = true;
    setup_.countType.clear();
    EXPECT_FALSE(runLoop());
    EXPECT_EQ(column("select memo_a from memos order by memo_a"),
              (std::vector<std::string>{"memo 1", "memo 2"}));
    EXPECT_EQ(view_.count("lblImpTextCount"), -1) << "no count was shown";
}

TEST_P(ImporterLoopTest, CancelFinishesTheRowThenRollsBackOnce) {
    connection().begin();
    view_.onYield([this] {
        if (view_.yields == 2) {
            run_.cancelRequested = true;
        }
    });
    EXPECT_FALSE(runLoop());
    EXPECT_FALSE(connection().inTransaction());
    EXPECT_TRUE(column("select memo_a from memos").empty()) << "the rollback kept converted rows";
    const std::string log = readFile(logs_.path() / "LogFile.txt");
    EXPECT_EQ(log.find("Conversion canceled by user. No files imported."), 0u);
    EXPECT_EQ(log.find("Conversion canceled", 1), std::string::npos)
        << "CancelImport ran more than once";
    EXPECT_EQ(run_.imported("TEXT"), 2)
        << "the row being handled is finished, no further row converted";
}

DCF_ON_ALL_DATABASES(ImporterLoopTest);

} // namespace
} // namespace dcf::test
