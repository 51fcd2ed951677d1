#include "db/error.h"
#include "db/key_snapshot.h"
#include "dcf/dcf_line_reader.h"
#include "dcf/record_types.h"
#include "run/run_context.h"
#include "staging/import_dcf_records.h"
#include "test_database.h"
#include "test_run.h"

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

// Stages lines as the conversion's staging pass does, on a real database.
class StagingTest : public DatabaseTest {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        state_.request.logsFolder = logs_.path();
        state_.request.file.path = logs_.path() / "sample.DCF_ZV";
        context_ = std::make_unique<run::RunContext>(state_.context(connection(), view_));
        importTemp_ = std::make_unique<staging::ImportTemp>(connection());
    }

    // As the staging pass does: the line's own number, then the count of
    // lines read.
    bool stage(const std::string& line) {
        const dcf::RecordType* type = dcf::findRecordType(line);
        EXPECT_NE(type, nullptr) << line;
        bool staged = false;
        if (type != nullptr && type->staged) {
            staged = staging::ImportDCFRecords(
                *context_, *importTemp_, {line, state_.run.recordCounter + 1, type->fieldCount});
        }
        ++state_.run.recordCounter;
        return staged;
    }

    // The staged rows of a type, each column by name, in staging order.
    std::vector<std::map<std::string, std::string>> rows(const std::string& recType) {
        std::vector<std::map<std::string, std::string>> result;
        auto& select = connection().statement(
            "select * from IMPORTTEMP where rec_type = ? order by import_key");
        select.run(recType);
        while (select.next()) {
            std::map<std::string, std::string> row;
            for (int i = 0; i < select.columnCount(); ++i) {
                const std::string name = select.columnName(i);
                std::string lower;
                for (char c : name) {
                    lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                }
                const db::Value v = select.value(i);
                row[lower] = std::holds_alternative<db::Null>(v) ? "<null>" : db::toText(v);
            }
            result.push_back(std::move(row));
        }
        return result;
    }

    std::string log() {
        const auto file = logs_.path() / "LogFile.txt";
        return std::filesystem::exists(file) ? readFile(file) : std::string();
    }

    TempFolder logs_;
    TestRun state_;
    run::SilentView view_;
    std::unique_ptr<run::RunContext> context_;
    std::unique_ptr<staging::ImportTemp> importTemp_;
};

TEST_P(StagingTest, FilerLineCarriesItsOwnFilerIdAndIsFoundByItsFourCharacterType) {
    EXPECT_FALSE(stage("HDR,1,2,3,4,5"));
    EXPECT_TRUE(stage("FLR,1,0,A,B,C,F77,X,Y,2"));
    // Fields 4 to 33, field 8 quoted with a comma in it, then field 34.
    EXPECT_TRUE(stage("NAME,2,0,Smith,,,,\"Smith, J\"" + std::string(25, ',') + ",AB"));

    auto& byType = connection().statement("select * from importtemp where rec_type = 'FLR,';");
    byType.execute();
    ASSERT_TRUE(byType.next());
    EXPECT_EQ(byType.text("filer_id"), "F77");
    EXPECT_EQ(byType.text("field7"), "F77");
    EXPECT_EQ(byType.text("field10"), "2");
    EXPECT_EQ(byType.text("status"), "I");
    EXPECT_EQ(byType.value("memo"), db::Value(db::Null{}));
    byType.reset();

    EXPECT_EQ(state_.run.filer.id, "F77");
    EXPECT_EQ(state_.run.filer.nameRecordNumber, "2");
    EXPECT_TRUE(rows("HDR,").empty()) << "a header line is counted, never staged";
    const auto names = rows("NAME");
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].at("filer_id"), "F77");
    EXPECT_EQ(names[0].at("field4"), "Smith");
    EXPECT_EQ(names[0].at("field8"), "Smith, J");
    EXPECT_EQ(names[0].at("field5"), "")
        << "an empty field is an empty string, not a missing value";
    EXPECT_EQ(names[0].at("field33"), "");
    EXPECT_EQ(names[0].at("field34"), "AB");
    EXPECT_EQ(state_.run.counts.notImported, 0);
    EXPECT_EQ(log(), "");
}

TEST_P(StagingTest, LongValuesMoveToMemo) {
    const std::string longText(300, 'x');
    const std::string fits(255, 'y');
    EXPECT_TRUE(stage("TEXT,1,1,A,B,C,\"" + longText + "\""));
    EXPECT_TRUE(stage("TEXT,2,1,A,B,C,\"" + fits + "\""));
    // Counted in characters: 255 two-byte characters still fit.
    EXPECT_TRUE(stage("CORR,3,1,A,B,C,\"" + [] {
        std::string s;
        for (int i = 0; i < 255; ++i) {
            s += "é";
        }
        return s;
    }() + "\""));
    EXPECT_TRUE(stage("LOAN,4,1,A,B,C,D,E,F,\"" + longText + "\",,,,,,,Z"));

    const auto texts = rows("TEXT");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].at("memo"), longText);
    EXPECT_EQ(texts[0].at("field7"), "");
    EXPECT_EQ(texts[1].at("field7"), fits);
    EXPECT_EQ(texts[1].at("memo"), "<null>");
    EXPECT_EQ(rows("CORR").at(0).at("memo"), "<null>");
    const auto loans = rows("LOAN");
    ASSERT_EQ(loans.size(), 1u);
    EXPECT_EQ(loans[0].at("memo"), longText);
    EXPECT_EQ(loans[0].at("field10"), "");
}

TEST_P(StagingTest, UnstageableLinesAreLoggedCountedAndTheNextLineStages) {
    EXPECT_TRUE(stage("FLR,1,0,A,B,C,F77,X,Y,2"));
    EXPECT_FALSE(stage("TEXT,7,3,A,B,C,no comma after the last field"));
    EXPECT_FALSE(stage(std::string("RCPT,8,3,A,B\0,C,D,E,F,G,H,I,J", 29)));
    EXPECT_FALSE(stage("RCPT,9,3,A,B,C," + std::string(256, 'z') + ",E,F,G,H,I,J"));
    EXPECT_TRUE(stage("TEXT,10,3,A,B,C,fine,"));
    EXPECT_EQ(state_.run.counts.notImported, 3);
    EXPECT_EQ(rows("TEXT").size(), 1u);
    EXPECT_TRUE(rows("RCPT").empty());

    const std::string text = log();
    const std::string firstBlockStart =
        "**** Error with file: " + state_.request.file.path.string() + " at ";
    ASSERT_EQ(text.rfind(firstBlockStart, 0), 0u) << text;
    EXPECT_NE(
        text.find(
            "\r\n(Procedure ImportDCFRecords)\r\nInput Record Causing Error: \r\nFiler ID = F77\r\n"
            "Report # = 3\r\nRecord Number = 7\r\n"),
        std::string::npos)
        << text;
    EXPECT_NE(
        text.find(
            "---- Input Record Causing Error: 'TEXT,7,3,A,B,C,no comma after the last field'\r\n"),
        std::string::npos);
    // Each block names the line's own number in the file.
    EXPECT_NE(text.find("---- Error On line # 2\r\n"), std::string::npos);
    EXPECT_NE(text.find("---- Error On line # 3\r\n"), std::string::npos);
    EXPECT_NE(text.find("---- Error On line # 4\r\n"), std::string::npos);
    // The line with a NUL byte is named by its own record, and the NUL shows.
    EXPECT_NE(text.find("Report # = 3\r\nRecord Number = 8\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("---- Input Record Causing Error: 'RCPT,8,3,A,B\\0,C,D,E,F,G,H,I,J'"),
              std::string::npos);
    EXPECT_EQ(text.find('\0'), std::string::npos);
}

TEST_P(StagingTest, ARefusedFilerLineLeavesTheRunsFiler) {
    EXPECT_TRUE(stage("FLR,1,0,A,B,C,F77,X,Y,2"));
    // Field 7 is read before the line turns out short.
    EXPECT_FALSE(stage("FLR,1,0,A,B,C,F99,X,Y"));
    EXPECT_FALSE(stage(std::string("FLR,1,0,A,B,C,F98,X,Y,3\0", 24)));
    EXPECT_TRUE(stage("TEXT,2,1,A,B,C,after,"));
    EXPECT_EQ(state_.run.filer.id, "F77");
    EXPECT_EQ(state_.run.filer.nameRecordNumber, "2");
    EXPECT_EQ(state_.run.filer.line, "FLR,1,0,A,B,C,F77,X,Y,2");
    ASSERT_EQ(rows("TEXT").size(), 1u);
    EXPECT_EQ(rows("TEXT")[0].at("filer_id"), "F77");
    ASSERT_EQ(rows("FLR,").size(), 1u);
    EXPECT_EQ(rows("FLR,")[0].at("filer_id"), "F77");
}

TEST_P(StagingTest, LineTheDatabaseRefusesIsLoggedAndTheNextLineStages) {
    connection().executeScript("alter table IMPORTTEMP rename to IMPORTTEMP_AWAY");
    EXPECT_FALSE(stage("TEXT,1,1,A,B,C,\"note\""));
    connection().executeScript("alter table IMPORTTEMP_AWAY rename to IMPORTTEMP");
    EXPECT_TRUE(stage("TEXT,2,1,A,B,C,\"note\""));
    EXPECT_EQ(state_.run.counts.notImported, 1);
    ASSERT_EQ(rows("TEXT").size(), 1u);
    EXPECT_EQ(rows("TEXT")[0].at("rec_num"), "2");
    const std::string text = log();
    EXPECT_NE(text.find("---- Error Description: "), std::string::npos);
    EXPECT_NE(text.find("---- Error On line # 1\r\n"), std::string::npos);
}

// A file of awkward bytes ends as correct rows and clear log blocks.
TEST_P(StagingTest, BadInputFileStagesWhatItCanAndLogsTheRest) {
    const std::string huge(1024 * 1024, 'w');
    const std::string bytes =
        std::string("\xEF\xBB\xBF") +                   // byte-order mark
        "FLR,1,0,A,B,C,F9,X,Y,2\r\n" +                  // CR LF
        "TEXT,2,1,A,B,C,\"caf\xE9 \x92quoted\x92\"\r" + // Windows-1252, lone CR
        "TEXT,3,1,A,B,C,\"unterminated\n" +             // no closing quote
        "TEXT,4,1,A,B,C," + huge + ",\n" +              // a 1 MB line
        "TEXT,5,1,A,B,C,\"last\"";                      // no final line end
    writeFile(logs_.path() / "bad.DCF_ZV", bytes);
    dcf::DcfLineReader reader(logs_.path() / "bad.DCF_ZV");
    dcf::DcfLine line;
    int staged = 0;
    while (reader.next(line)) {
        staged += stage(line.text) ? 1 : 0;
    }
    EXPECT_EQ(staged, 4);
    EXPECT_EQ(state_.run.counts.notImported, 1);
    const auto texts = rows("TEXT");
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].at("field7"), "café ’quoted’");
    EXPECT_EQ(texts[1].at("memo"), huge);
    EXPECT_EQ(texts[2].at("field7"), "last");
    EXPECT_NE(log().find("Record Number = 3\r\n"), std::string::npos);
}

// A line of a type with fields 4 to `lastField`, each empty unless given.
std::string line(const std::string& start, int lastField,
                 const std::map<int, std::string>& fields) {
    std::string text = start;
    for (int n = 4; n <= lastField; ++n) {
        const auto found = fields.find(n);
        text += "," + (found == fields.end() ? std::string() : found->second);
    }
    return text;
}

// Rows are read a slice of keys at a time, in key order; a key without a
// row is passed over, and a short slice reads as a full one does. The NAME
// records are read once, the first of a number in staging order found.
TEST_P(StagingTest, SlicesAndNameRecordsReadTheRowsAsStaged) {
    for (int i = 1; i <= 5; ++i) {
        ASSERT_TRUE(stage(line("RCPT," + std::to_string(i) + ",1", 12,
                               {{7, "7"}, {8, "20260115"}, {9, "10.00"}})));
    }
    ASSERT_TRUE(stage(line("NAME,7,0", 34,
                           {{7, "Doe"},
                            {8, "Jane"},
                            {12, "1 Main"},
                            {14, "Salem"},
                            {29, "Y"},
                            {32, "Bend"},
                            {33, "97701"},
                            {34, "OR"}})));
    ASSERT_TRUE(stage(line("NAME,7,0", 34, {{7, "Roe"}, {8, "Al"}})));
    const db::KeySnapshot snapshot(connection(),
                                   "select import_key from IMPORTTEMP where rec_type = ? order by "
                                   "import_key desc",
                                   "RCPT");
    const std::vector<std::int64_t> keys(snapshot.begin(), snapshot.end());
    ASSERT_EQ(keys.size(), 5u);
    connection().statement("delete from IMPORTTEMP where import_key = ?").run(keys[1]);
    std::vector<staging::StagedRow> slice;
    importTemp_->readSlice(std::span(keys).first(3), 13, slice);
    ASSERT_EQ(slice.size(), 2u);
    EXPECT_EQ(slice[0].key(), keys[2]);
    EXPECT_EQ(slice[0].text("REC_NUM"), "3");
    EXPECT_EQ(slice[1].text("rec_num"), "5");
    EXPECT_EQ(slice[1].field(7), "7");
    EXPECT_EQ(slice[1].value("field13"), db::Value(std::string()));
    EXPECT_EQ(slice[1].value("memo"), db::Value(db::Null{}));
    EXPECT_EQ(slice[1].text("field20"), "") << "a field after the last is not read";
    importTemp_->readSlice(std::span(keys).subspan(4), 13, slice);
    ASSERT_EQ(slice.size(), 1u);
    EXPECT_EQ(slice[0].text("rec_num"), "1");

    const staging::NameRecords names = importTemp_->nameRecords();
    EXPECT_EQ(names.size(), 2u);
    const std::optional<staging::NameRecord> jane = names.find("7");
    ASSERT_TRUE(jane);
    EXPECT_EQ(jane->name.naml, "Doe");
    EXPECT_TRUE(jane->outOfStateCommittee);
    EXPECT_EQ(jane->mailing.zip4, "97701");
    EXPECT_EQ(jane->mailing.stcd, "OR");
    EXPECT_FALSE(names.find("07")) << "numbers compare as text";
    EXPECT_FALSE(names.find("8"));
}

// The renumbering writes rows by key a batch at a time: every listed row
// takes its own value, whatever the batch's length, and no other row moves.
TEST_P(StagingTest, RowsWrittenInBatchesTakeTheirOwnValues) {
    for (int i = 1; i <= 140; ++i) {
        ASSERT_TRUE(stage(line("RCPT," + std::to_string(i) + ",1", 12, {{7, "7"}})));
    }
    const db::KeySnapshot snapshot(
        connection(), "select import_key from IMPORTTEMP where rec_type = ? order by import_key",
        "RCPT");
    std::vector<std::pair<std::int64_t, std::string>> ids;
    std::vector<std::pair<std::int64_t, std::string>> numbers;
    for (const std::int64_t key : snapshot) {
        if (ids.size() < 130) {
            ids.emplace_back(key, "id" + std::to_string(key));
        }
        if (numbers.size() < 64) {
            numbers.emplace_back(key, "n" + std::to_string(key));
        }
    }
    importTemp_->setNameReferences(ids);
    importTemp_->setRecordNumbers(numbers);
    const auto staged = rows("RCPT");
    ASSERT_EQ(staged.size(), 140u);
    for (std::size_t i = 0; i < staged.size(); ++i) {
        const std::string key = staged[i].at("import_key");
        EXPECT_EQ(staged[i].at("field7"), i < 130 ? "id" + key : "7") << i;
        EXPECT_EQ(staged[i].at("rec_num"), i < 64 ? "n" + key : std::to_string(i + 1)) << i;
    }
}

DCF_ON_ALL_DATABASES(StagingTest);

} // namespace
} // namespace dcf::test
