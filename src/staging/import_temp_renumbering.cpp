// The statements of IMPORTTEMP that move file numbers to database numbers:
// the NAME records and every reference to them, and the rows of each report.
#include "db/cursor.h"
#include "staging/import_temp.h"
#include "staging/record_type_codes.h"

#include <algorithm>
#include <array>
#include <variant>

namespace dcf::staging {
namespace {

bool belongsToReport(const RecordType& type) {
    return type.reportLink != ReportLink::None;
}

// " and rec_type in (?, ...)" for these codes.
std::string typeCondition(const db::Values& codes) {
    return " and rec_type in (" + parameterMarks(codes.size()) + ")";
}

ColumnMove reportRowsMove() {
    const db::Values codes =
        codesOf([](const RecordType& type) { return type.reportLink == ReportLink::Row; });
    const std::string rows = "where repno = ?" + typeCondition(codes);
    return {"update IMPORTTEMP set repno = ? " + rows,
            "select import_key from IMPORTTEMP " + rows + " order by import_key",
            "update IMPORTTEMP set repno = ? where import_key = ?", "", codes};
}

ColumnMove summaryRowsMove() {
    const db::Values codes =
        codesOf([](const RecordType& type) { return type.reportLink == ReportLink::Summary; });
    const std::string rows = "where repno = ?" + typeCondition(codes);
    return {"update IMPORTTEMP set repno = ?, Status = 'S' " + rows,
            "select import_key from IMPORTTEMP " + rows + " order by import_key",
            "update IMPORTTEMP set repno = ?, Status = 'S' where import_key = ?",
            "update IMPORTTEMP set Status = 'S' " + rows, codes};
}

} // namespace

std::vector<std::pair<std::int64_t, std::string>> ImportTemp::nameRecordNumbers() {
    static const db::Values name = codeOf(recordType("NAME"));
    db::Cursor rows(home_,
                    "select import_key, rec_num from IMPORTTEMP where rec_type = ? order by "
                    "import_key",
                    name);
    std::vector<std::pair<std::int64_t, std::string>> numbers;
    while (rows.next()) {
        numbers.emplace_back(rows.row().integer("import_key"), rows.row().text("rec_num"));
    }
    return numbers;
}

void ImportTemp::nameReferences(std::int64_t after, std::size_t limit,
                                std::vector<NameReference>& rows) {
    // Named by the types left out, so that the slice walks the keys in order
    // instead of gathering every row of eleven types before it can stop.
    static const db::Values others =
        codesOf([](const RecordType& type) { return type.staged && !type.nameInField7; });
    static const std::string sql =
        "select import_key, field7 from IMPORTTEMP where import_key > ? and rec_type not in (" +
        parameterMarks(others.size()) + ") order by import_key limit ?";
    rows.clear();
    db::Cursor slice(home_, sql, after, others, static_cast<std::int64_t>(limit));
    while (slice.next()) {
        // A null holds no number; the key still moves the slice on.
        NameReference& row = rows.emplace_back();
        row.key = slice.row().integer("import_key");
        if (const db::Value value = slice.row().value("field7");
            !std::holds_alternative<db::Null>(value)) {
            row.field7 = db::toText(value);
        }
    }
}

db::KeySnapshot ImportTemp::keysOfFiler(const RecordType& type, const std::string& filerId) {
    return {home_,
            "select import_key from IMPORTTEMP where rec_type = ? and filer_id = ? order by "
            "import_key",
            codeOf(type), filerId};
}

void ImportTemp::setNameReference(std::int64_t key, int field, const std::string& id, bool final) {
    // Made once per field, for the renumbering rewrites field 7 row by row.
    static const std::array<std::array<std::string, 2>, 47> texts = [] {
        std::array<std::array<std::string, 2>, 47> made;
        for (std::size_t n = 4; n < made.size(); ++n) {
            const std::string set = "update IMPORTTEMP set field" + std::to_string(n) + " = ?";
            made[n][0] = set + " where import_key = ?";
            made[n][1] = set + ", Status = 'T' where import_key = ?";
        }
        return made;
    }();
    home_.statement(texts.at(static_cast<std::size_t>(field))[final ? 1 : 0]).run(id, key);
}

void ImportTemp::setNameReferences(std::span<const std::pair<std::int64_t, std::string>> ids) {
    static const std::string column = "field7";
    setByKey(column, ids);
}

void ImportTemp::setRecordNumbers(std::span<const std::pair<std::int64_t, std::string>> numbers) {
    static const std::string column = "rec_num";
    setByKey(column, numbers);
}

// One statement per batch of rows: "update IMPORTTEMP set COLUMN = case
// import_key when ? then ? ... end where import_key in (?, ...)". Its text
// is the same for every batch: a short batch repeats its last pair, which
// sets the same value again.
void ImportTemp::setByKey(const std::string& column,
                          std::span<const std::pair<std::int64_t, std::string>> values) {
    constexpr std::size_t kBatch = 64;
    std::string sql = "update IMPORTTEMP set " + column + " = case import_key";
    for (std::size_t i = 0; i < kBatch; ++i) {
        sql += " when ? then ?";
    }
    sql += " end where import_key in (" + parameterMarks(kBatch) + ")";
    db::Statement& update = home_.statement(sql);
    db::Values bound;
    for (std::size_t first = 0; first < values.size(); first += kBatch) {
        const std::span<const std::pair<std::int64_t, std::string>> batch =
            values.subspan(first, std::min(kBatch, values.size() - first));
        bound.clear();
        for (std::size_t i = 0; i < kBatch; ++i) {
            const auto& [key, value] = batch[std::min(i, batch.size() - 1)];
            bound.emplace_back(key);
            bound.emplace_back(value);
        }
        for (std::size_t i = 0; i < kBatch; ++i) {
            bound.emplace_back(batch[std::min(i, batch.size() - 1)].first);
        }
        update.run(bound);
    }
}

void ImportTemp::moveReportRows(const Renumbering& reports) {
    static const ColumnMove rows = reportRowsMove();
    static const ColumnMove summaries = summaryRowsMove();
    reports.apply(home_, rows);
    reports.apply(home_, summaries);
}

db::KeySnapshot ImportTemp::keysOfReport(const std::string& reportNumber) {
    static const db::Values types = codesOf(belongsToReport);
    static const std::string sql =
        "select import_key from IMPORTTEMP where repno = ? and Status <> 'E'" +
        typeCondition(types) + " order by import_key";
    return {home_, sql, reportNumber, types};
}

db::KeySnapshot ImportTemp::keysOfRefused(const RecordType& type) {
    return {home_,
            "select import_key from IMPORTTEMP where rec_type = ? and Status = ? order by "
            "import_key",
            codeOf(type), "E"};
}

} // namespace dcf::staging
