#include "db/cursor.h"
#include "importers/importers.h"
#include "importers/schedule_rules.h"
#include "importers/value_limits.h"

#include <array>
#include <utility>

namespace dcf::importers {
namespace {

// The memos column of each schedule letter; the column of M is spelled with
// a capital M.
const char* memoColumn(const std::string& letter) {
    static constexpr std::array<std::pair<const char*, const char*>, 14> kColumns = {{
        {"A", "memo_a"},
        {"B", "memo_b"},
        {"C", "memo_c"},
        {"D", "memo_d"},
        {"E", "memo_e"},
        {"F", "memo_f"},
        {"G", "memo_g"},
        {"H", "memo_h"},
        {"I", "memo_i"},
        {"J", "memo_j"},
        {"K", "memo_k"},
        {"L", "memo_l"},
        {"M", "memo_M"},
        {"N", "memo_n"},
    }};
    for (const auto& [name, column] : kColumns) {
        if (letter == name) {
            return column;
        }
    }
    return nullptr;
}

// How many rows of the filer's report a table holds.
std::int64_t reportRows(db::Connection& db, const char* table, const std::string& filerId,
                        const std::string& report) {
    return db::firstInteger(db,
                            std::string("select count(*) as n from ") + table +
                                " where filer_id = ? and repno = ?",
                            filerId, report)
        .value_or(0);
}

RowOutcome convertText(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    const std::string& filerId = row.run().filer.id;
    const std::string report = s.text("repno");
    const std::string letter = s.field(6);
    const std::string text = stagedText(s);
    db::Connection& db = row.db();
    if (reportRows(db, "memos", filerId, report) == 0) {
        db.statement("insert into memos (filer_id, repno) values (?, ?)").run(filerId, report);
    }
    if (const char* column = memoColumn(letter)) {
        // An empty text clears its schedule's memo, except the memo of M.
        if (letter != "M" || !text.empty()) {
            db.statement(std::string("update memos set ") + column +
                         " = ? where filer_id = ? and repno = ?")
                .run(text, filerId, report);
        }
    } else if (reportRows(db, "cvr", filerId, report) == 1) {
        // A text of another letter goes to the Memo of the report's cover row.
        db.statement("update cvr set Memo = ? where filer_id = ? and repno = ?")
            .run(text, filerId, report);
    }
    return RowOutcome::added();
}

std::string textStatus(const ImportRow& row) {
    return "Added TEXT record(s) for Schedule " + row.staged().field(6);
}

} // namespace

const ImporterDescription kImportTEXT{
    .procedure = "ImportTEXT",
    .recordTypes = {"TEXT"},
    .processingMessage = "Processing Memo Records",
    .convert = convertText,
    .countType = "TEXT",
    .statusText = textStatus,
    .blockRecordType = "TEXT",
    .lineNumberLine = LineNumberLine::Capital,
};

} // namespace dcf::importers
