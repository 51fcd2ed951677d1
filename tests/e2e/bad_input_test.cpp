// Whole runs over the hostile files of tests/bad-input: each ends with an
// outcome, every table is still there, every value is stored as read or its
// record is left out with its entry in the conversion log.
#include "dcf/record_types.h"
#include "run_fixture.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <optional>

#include <gtest/gtest.h>

namespace dcf::test {
namespace {

std::string corpusFile(const std::string& name) {
    return readFile(std::filesystem::path(DCF_BAD_INPUT_DIR) / name);
}

// The line numbers named by the log's staging blocks, in log order.
std::vector<std::int64_t> stagingBlockLines(const std::string& log) {
    static const std::string block = "(Procedure ImportDCFRecords)";
    static const std::string lineMark = "---- Error On line # ";
    std::vector<std::int64_t> lines;
    for (std::size_t at = log.find(block); at != std::string::npos; at = log.find(block, at + 1)) {
        const std::size_t mark = log.find(lineMark, at);
        if (mark == std::string::npos) {
            break;
        }
        lines.push_back(std::stoll(log.substr(mark + lineMark.size())));
    }
    return lines;
}

// The numbers of the lines that hold a NUL byte, lines ending as the reader
// ends them (CR LF, LF or CR).
std::vector<std::int64_t> linesWithNul(const std::string& bytes) {
    std::vector<std::int64_t> lines;
    std::int64_t number = 1;
    bool nul = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\0') {
            nul = true;
        } else if (bytes[i] == '\r' || bytes[i] == '\n') {
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++i;
            }
            if (nul) {
                lines.push_back(number);
            }
            ++number;
            nul = false;
        }
    }
    if (nul) {
        lines.push_back(number);
    }
    return lines;
}

// The table and column a schedule record's item id lands in.
std::optional<std::string> itemTable(const std::string& recordType) {
    static const std::map<std::string, std::string> kTables = {
        {"RCPT", "RCPT"},    {"PLDG", "RCPT"},   {"EXPN", "EXPN"},     {"CRED", "CRED"},
        {"LOAN", "LOAN"},    {"DEBT", "DEBT"},   {"GUAR", "GUAR"},     {"ASSE", "ASSET"},
        {"CAND", "BENEFIT"}, {"CVR2", "NOTICE"}, {"CVR3", "MEASURES"},
    };
    const auto found = kTables.find(recordType);
    return found == kTables.end() ? std::nullopt : std::optional(found->second);
}

std::vector<std::string> sorted(std::vector<std::string> values) {
    std::ranges::sort(values);
    return values;
}

class BadInputTest : public RunTest {
protected:
    // Converts a file of the corpus, saving whatever the closing question.
    app::RunResult convert(const std::string& name) {
        view_ = RecordingView();
        writeDcf(name, corpusFile(name));
        view_.answer(run::QuestionKind::ConfirmRun, {yes()});
        return run();
    }

    // What every run of a hostile file must leave: a finished log whose
    // staging blocks name exactly `refusedLines`, every table, and for each
    // record an importer left out ("E"), its entry and no row of it.
    void expectSoundEnd(const app::RunResult& result, const std::vector<std::int64_t>& refusedLines,
                        const std::string& file) {
        SCOPED_TRACE(file);
        const std::string log = finalLog(result);
        EXPECT_TRUE(log.find("Conversion finish time  ----  ") != std::string::npos ||
                    log.find("Conversion canceled by user.") != std::string::npos)
            << log;
        EXPECT_EQ(stagingBlockLines(log), refusedLines) << log;
        ASSERT_NO_THROW(contents()) << "a table is gone";
        for (const std::string& row : selectRows(connection(), "select rec_type, rec_num from "
                                                               "IMPORTTEMP where Status = 'E'")) {
            const std::string type = row.substr(0, row.find('|'));
            const std::string number = row.substr(row.find('|') + 1);
            // The summary block names its form and line instead of the record.
            const bool named =
                log.find("Record Number = " + number + "\r\n") != std::string::npos ||
                log.find("\r\n" + type + "," + number + ",") != std::string::npos ||
                (type == "SMRY" && log.find("Record Type = 'SMRY'\r\n") != std::string::npos);
            EXPECT_TRUE(named) << row << " was left out without an entry\n" << log;
            if (const auto table = itemTable(type)) {
                EXPECT_EQ(
                    count("select count(*) from " + *table + " where item_id = '" + number + "'"),
                    0)
                    << row;
            }
        }
    }

    std::vector<std::string> column(const std::string& sql) {
        return sorted(selectRows(connection(), sql));
    }

    // The first column of a selection for one filer, bound as a value: the
    // filer ids of the corpus are hostile too.
    std::vector<std::string> ofFiler(const std::string& sql, const std::string& filerId) {
        auto select = connection().prepare(sql);
        select->bind(1, db::Value(filerId));
        select->execute();
        std::vector<std::string> values;
        while (select->next()) {
            values.push_back(db::toText(select->value(0)));
        }
        return sorted(values);
    }

    // Each value is written once as a name (last name, street, employer), a
    // contribution's and an expenditure's description and a schedule text,
    // and the last one as a correction's explanation; the filer's name is
    // the first.
    void expectStoredAsRead(const std::string& filerId, const std::vector<std::string>& values) {
        const std::vector<std::string> all = sorted(values);
        for (const char* type : {"C", "P"}) {
            for (const char* column : {"naml", "adr1", "employer"}) {
                EXPECT_EQ(ofFiler(std::string("select ") + column +
                                      " from names where filer_id = ? and name_type = '" + type +
                                      "'",
                                  filerId),
                          all)
                    << column << " of " << type;
            }
        }
        for (const char* select : {"select ctrib_dscr from RCPT where filer_id = ?",
                                   "select ctrib_naml from RCPT where filer_id = ?",
                                   "select expn_descr from EXPN where filer_id = ?",
                                   "select payee_naml from EXPN where filer_id = ?"}) {
            EXPECT_EQ(ofFiler(select, filerId), all) << select;
        }
        EXPECT_EQ(ofFiler("select filer_naml from FILERS where filer_id = ?", filerId),
                  std::vector<std::string>{values.front()});
        EXPECT_EQ(ofFiler("select explain from CORR where filer_id = ?", filerId),
                  std::vector<std::string>{values.back()});
        static const char* const kMemos[] = {"memo_a", "memo_b", "memo_c", "memo_d", "memo_e",
                                             "memo_f", "memo_g", "memo_h", "memo_i", "memo_j",
                                             "memo_k", "memo_l", "memo_M", "memo_n"};
        for (std::size_t i = 0; i < values.size(); ++i) {
            // A text of a letter without a memo column goes to the cover sheet.
            const std::string select =
                i < std::size(kMemos)
                    ? std::string("select ") + kMemos[i] + " from memos where filer_id = ?"
                    : "select Memo from cvr where filer_id = ?";
            EXPECT_EQ(ofFiler(select, filerId), std::vector<std::string>{values[i]}) << select;
        }
    }
};

TEST_P(BadInputTest, BinaryAndOverlongRecordsEndWithAnOutcomeAndLogWhatIsLeftOut) {
    const auto before = contents();
    const std::string noise = corpusFile("binary-noise.DCF_ZV");
    ASSERT_NE(noise.find('\0'), std::string::npos);
    const auto noiseRun = convert("binary-noise.DCF_ZV");
    EXPECT_EQ(noiseRun.outcome, app::RunOutcome::Cancelled);
    ASSERT_EQ(view_.messages.size(), 1U);
    EXPECT_EQ(view_.messages[0].text, "FLR Record is missing! Conversion Terminating!");
    expectSoundEnd(noiseRun, linesWithNul(noise), "binary-noise");
    EXPECT_EQ(contents(), before);

    // Lines 5 to 23 are each type's code followed by noise: the header's is
    // counted and never staged, every other one is refused.
    const auto records = convert("binary-records.DCF_ZV");
    EXPECT_EQ(records.outcome, app::RunOutcome::Saved);
    std::vector<std::int64_t> refused(18);
    std::iota(refused.begin(), refused.end(), 6);
    expectSoundEnd(records, refused, "binary-records");
    EXPECT_EQ(column("select rec_type, rec_num, Status from IMPORTTEMP"),
              (std::vector<std::string>{"FLR,|1|I", "FORM|1|T", "NAME|2|I"}));

    // Every line of the full sample with three fields more: each is staged,
    // extra fields are read as the record's rules read them.
    const auto many = convert("too-many-fields.DCF_ZV");
    EXPECT_EQ(many.outcome, app::RunOutcome::Saved);
    expectSoundEnd(many, {}, "too-many-fields");
    EXPECT_EQ(count("select count(*) from IMPORTTEMP"), 43);
}

TEST_P(BadInputTest, FieldCountsOfEveryTypeTooFewAreRefusedWithTheirLine) {
    const std::string file = corpusFile("too-few-fields.DCF_ZV");
    for (const RecordType& type : allRecordTypes()) {
        if (type.name != "FLR") {
            EXPECT_NE(file.find("\r\n" + std::string(type.code)), std::string::npos) << type.name;
        }
    }
    const auto before = contents();
    const auto filer = convert("filer-too-few-fields.DCF_ZV");
    EXPECT_EQ(filer.outcome, app::RunOutcome::Cancelled);
    expectSoundEnd(filer, {2}, "filer-too-few-fields");
    EXPECT_EQ(contents(), before);

    // Two lines of each type from line 5 on: one field short, then the
    // record number alone. The header is never staged; a pledge's and a
    // notice's last field takes the end of the line, so one field short they
    // are whole and their importers leave them out.
    const auto few = convert("too-few-fields.DCF_ZV");
    EXPECT_EQ(few.outcome, app::RunOutcome::Saved);
    std::vector<std::int64_t> refused;
    for (std::int64_t line = 7; line <= 40; ++line) {
        if (line != 19 && line != 35) {
            refused.push_back(line);
        }
    }
    expectSoundEnd(few, refused, "too-few-fields");
    EXPECT_EQ(column("select rec_type, rec_num, Status from IMPORTTEMP where rec_num <> '1' and "
                     "rec_num <> '2'"),
              (std::vector<std::string>{"CVR2|40|E", "PLDG|24|E"}));
}

TEST_P(BadInputTest, QuotesSqlAndControlCharactersAreStoredByteForByte) {
    const auto quotes = convert("quotes-and-sql.DCF_ZV");
    EXPECT_EQ(quotes.outcome, app::RunOutcome::Saved);
    expectSoundEnd(quotes, {}, "quotes-and-sql");
    EXPECT_EQ(view_.questions.back().kind, run::QuestionKind::SaveClean);
    expectStoredAsRead("F1' or '1'='1",
                       {"O'Brien", "Say \"cheese\"", "C:\\temp\\new\\", "100% _sure_",
                        "'); drop table names; --", "%' or '1'='1", "\\'", "''", "x\"\"",
                        "? and $1 and :p", "1; select 1; --", "a%b_c\\%d\\_e", "' or 1=1 --",
                        "x\"; drop table RCPT; --", "\\\\ and \\n"});

    const auto controls = convert("control-characters.DCF_ZV");
    EXPECT_EQ(controls.outcome, app::RunOutcome::Saved);
    expectSoundEnd(controls, {}, "control-characters");
    EXPECT_EQ(view_.questions.back().kind, run::QuestionKind::SaveClean);
    expectStoredAsRead("F123456",
                       {"tab\there", "\x01start", "esc\x1b[31mred", "del\x7f", "\x1a ctrl-z",
                        "\tlead", "trail\t", "  spaced  ", "\x7f\x01\t\x1b"});
}

TEST_P(BadInputTest, LinesWithNulBytesAreRefusedWithTheirLineAndNothingOfThemIsKept) {
    const auto result = convert("nul-bytes.DCF_ZV");
    EXPECT_EQ(result.outcome, app::RunOutcome::Saved);
    // A NAME line, an amount, a line whose NUL comes before its type, the
    // last byte of a text and a line of NULs alone.
    expectSoundEnd(result, {5, 7, 8, 9, 10}, "nul-bytes");
    EXPECT_EQ(column("select rec_type, rec_num, Status from IMPORTTEMP where rec_type <> 'FORM'"),
              (std::vector<std::string>{"FLR,|1|I", "NAME|2|I", "RCPT|10|E", "TEXT|14|I"}));
    EXPECT_NE(finalLog(result).find("Input Record Causing Error: \r\nRCPT,10,1,"),
              std::string::npos)
        << "the contribution of the refused NAME line is left out with its entry";
    EXPECT_EQ(count("select count(*) from RCPT"), 0);
    EXPECT_EQ(column("select memo_a, memo_b, memo_c from memos"),
              std::vector<std::string>{"||kept"});
}

TEST_P(BadInputTest, MixedLineEndsReadAsOneKindAndInvalidUtf8AsWindows1252) {
    const auto ends = convert("mixed-line-ends.DCF_ZV");
    EXPECT_EQ(ends.outcome, app::RunOutcome::Saved);
    expectSoundEnd(ends, {}, "mixed-line-ends");
    EXPECT_EQ(view_.questions.back().kind, run::QuestionKind::SaveClean);
    // CR CR LF and LF CR each leave an empty line.
    EXPECT_EQ(ends.linesRead, 13);
    EXPECT_EQ(column("select ctrib_naml from RCPT"),
              (std::vector<std::string>{"After CR", "After LF"}));
    EXPECT_EQ(column("select memo_a, memo_b, memo_c from memos"),
              std::vector<std::string>{"after CR CR LF|after LF|no line end"});
    for (const std::string& row : selectRows(connection(), "select * from IMPORTTEMP")) {
        EXPECT_EQ(row.find_first_of("\r\n"), std::string::npos) << row;
    }

    const auto utf8 = convert("invalid-utf8.DCF_ZV");
    EXPECT_EQ(utf8.outcome, app::RunOutcome::Saved);
    expectSoundEnd(utf8, {}, "invalid-utf8");
    EXPECT_EQ(view_.questions.back().kind, run::QuestionKind::SaveClean);
    // Byte by byte as Windows-1252, its five undefined bytes as C1 controls;
    // a line of valid UTF-8 stays as it is, a line mixing both is read as
    // Windows-1252 as a whole.
    EXPECT_EQ(column("select naml, namf from names where filer_id = 'F654321'"),
              sorted({"M\u00fcller|J\u00fcrgen",
                      "Caf\u00e9 \u20ac \u0081\u008d\u008f\u0090\u009d|Ren\u00e9", "Cut\u00c3|Ann",
                      "Over\u00c0\u00aflong|Bo", "Surr\u00ed\u00a0\u20acogate|Cy",
                      "Zo\u00eb \u00dcnal|\u0141ukasz", "Mixed \u00c3\u00ab \u00e9|Di"}));
    EXPECT_EQ(column("select distinct ctrib_dscr from RCPT where filer_id = 'F654321'"),
              std::vector<std::string>{"\u201cquoted\u201d \u2013 dash"});
    EXPECT_EQ(count("select count(*) from RCPT where filer_id = 'F654321'"), 7);
    EXPECT_EQ(column("select memo_a from memos where filer_id = 'F654321'"),
              std::vector<std::string>{"\u2026 ellipsis \u00a9 2026"});
}

TEST_P(BadInputTest, ARefusedSecondFilerLineLeavesTheFilerOfTheFile) {
    // Counters far from the file's numbers: names and reports are renumbered.
    connection().executeScript("update repno set NameID = 50, repno = 5");
    const auto result = convert("refused-second-filer-line.DCF_ZV");
    EXPECT_EQ(result.outcome, app::RunOutcome::Saved);
    expectSoundEnd(result, {4}, "refused-second-filer-line");
    const std::string log = finalLog(result);
    EXPECT_EQ(log.find("(Procedure ImportFLR)"), std::string::npos) << log;
    EXPECT_EQ(column("select distinct filer_id from IMPORTTEMP"),
              std::vector<std::string>{"F123456"});
    EXPECT_EQ(column("select filer_id, filer_naml from FILERS"),
              std::vector<std::string>{"F123456|Doe Campaign"});
    EXPECT_EQ(column("select filer_id, repno from cvr"), std::vector<std::string>{"F123456|5"});
    EXPECT_EQ(column("select repno, ctrib_id, ctrib_naml from RCPT"),
              std::vector<std::string>{"5|52|Smith"});
}

DCF_ON_ALL_DATABASES(BadInputTest);

} // namespace
} // namespace dcf::test
