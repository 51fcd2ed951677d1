#include "app/server_copy.h"

#include "db/ascii_case.h"
#include "db/cursor.h"
#include "db/server_bulk_insert.h"
#include "dcf/record_types.h"

#include <algorithm>
#include <map>

namespace dcf::app {
namespace {

std::string insertSql(const db::ServerTable& table) {
    std::string marks;
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        marks += i == 0 ? "?" : ", ?";
    }
    return "insert into " + table.name + " (" + table.columnList() + ") values (" + marks + ")";
}

std::vector<db::Value> rowValues(db::Statement& row, std::size_t count) {
    std::vector<db::Value> values;
    values.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        values.push_back(row.value(static_cast<int>(i)));
    }
    return values;
}

// The scratch's rows [first, last] of a table, by rowid, as it holds them.
std::vector<std::vector<db::Value>> scratchRows(db::Connection& scratch,
                                                const db::ServerTable& table, std::int64_t first,
                                                std::int64_t last) {
    std::vector<std::vector<db::Value>> rows;
    db::Cursor held(scratch,
                    "select " + table.columnList() + " from " + table.name +
                        " where rowid between ? and ? order by rowid",
                    first, last);
    while (held.next()) {
        rows.push_back(rowValues(held.row(), table.columns.size()));
    }
    return rows;
}

// Only these tables' copied rows can be changed by a run: the filer's row
// is refreshed from cover sheets, and the counters are drawn.
bool runMayChange(const std::string& table) {
    return table == "filers" || table == "repno";
}

} // namespace

std::vector<std::string> ServerCopy::filingTables() {
    std::vector<std::string> tables{"filers", "cvr", "names", "repno", "memos"};
    for (const RecordType& type : allRecordTypes()) {
        const std::string table = db::lowerAscii(type.targetTable);
        if (!table.empty() && std::find(tables.begin(), tables.end(), table) == tables.end()) {
            tables.push_back(table);
        }
    }
    return tables;
}

ServerCopy::ServerCopy(db::Connection& server, db::Connection& scratch)
    : server_(server), scratch_(scratch), catalog_(db::ServerCatalog::read(server, filingTables())),
      guard_(server, catalog_) {
    for (const db::ServerTable& table : catalog_.tables()) {
        scratch_.executeScript(db::ServerCatalog::scratchTableSql(table));
    }
    // What the steps look rows up by.
    scratch_.executeScript("create index ix_names_filer_name_id on names (filer_id, name_id);\n"
                           "create index ix_filers_filer_id on filers (filer_id);\n"
                           "create index ix_cvr_repno on cvr (repno);\n"
                           "create index ix_memos_repno on memos (repno);\n");
    scratch_.guardWrites(&guard_);
}

ServerCopy::~ServerCopy() {
    scratch_.guardWrites(nullptr);
}

void ServerCopy::copyCounters() {
    // A write that changes nothing takes the row's lock until the run ends.
    server_.executeScript("update repno set repno = repno");
    if (const db::ServerTable* table = catalog_.table("repno")) {
        copyRows(*table, "", db::Null{});
    }
}

void ServerCopy::copyFiler(const std::string& filerId) {
    if (!filers_.insert(filerId).second) {
        return;
    }
    for (const char* name : {"filers", "names"}) {
        if (const db::ServerTable* table = catalog_.table(name)) {
            copyRows(*table, " where filer_id = ?", db::Value(filerId));
        }
    }
}

void ServerCopy::copyRows(const db::ServerTable& table, const std::string& where,
                          const db::Value& key) {
    const std::int64_t first =
        db::firstInteger(scratch_, "select coalesce(max(rowid), 0) + 1 from " + table.name)
            .value_or(1);
    db::Statement& insert = scratch_.statement(insertSql(table));
    const std::string select = "select " + table.columnList() + " from " + table.name + where;
    std::int64_t copied = 0;
    // A statement of its own: one kept from an earlier run would refuse a
    // table whose columns changed since.
    const std::unique_ptr<db::Statement> rows = server_.prepare(select);
    if (!where.empty()) {
        rows->bind(1, key);
    }
    rows->execute();
    while (rows->next()) {
        const std::vector<db::Value> values = rowValues(*rows, table.columns.size());
        for (std::size_t i = 0; i < values.size(); ++i) {
            insert.bind(static_cast<int>(i + 1), values[i]);
        }
        insert.execute();
        ++copied;
    }
    rows->reset();
    if (copied == 0) {
        return;
    }
    Copied record{table.name, first, first + copied - 1, {}};
    if (runMayChange(table.name)) {
        // As the scratch holds them, to compare like with like at the end.
        record.original = scratchRows(scratch_, table, record.first, record.last);
    }
    copied_.push_back(std::move(record));
}

std::vector<std::pair<std::int64_t, std::int64_t>>
ServerCopy::copiedRanges(const std::string& table) const {
    std::vector<std::pair<std::int64_t, std::int64_t>> ranges;
    for (const Copied& copied : copied_) {
        if (copied.table == table) {
            ranges.emplace_back(copied.first, copied.last);
        }
    }
    return ranges;
}

std::int64_t ServerCopy::rowsToWrite() {
    std::int64_t rows = 0;
    for (const db::ServerTable& table : catalog_.tables()) {
        rows += db::firstInteger(scratch_, "select count(*) from " + table.name).value_or(0);
    }
    for (const Copied& copied : copied_) {
        rows -= copied.last - copied.first + 1;
    }
    return rows;
}

bool ServerCopy::transfer(const std::function<bool(std::int64_t written)>& afterBatch) {
    std::int64_t written = 0;
    for (const db::ServerTable& table : catalog_.tables()) {
        if (!writeNewRows(table, written, afterBatch)) {
            return false;
        }
    }
    for (const Copied& copied : copied_) {
        if (!copied.original.empty()) {
            writeChangedRows(copied);
        }
    }
    return true;
}

bool ServerCopy::writeNewRows(const db::ServerTable& table, std::int64_t& written,
                              const std::function<bool(std::int64_t)>& afterBatch) {
    db::ServerBulkInsert bulk(server_, table);
    db::Cursor rows(scratch_, "select rowid, " + table.columnList() + " from " + table.name +
                                  " order by rowid");
    const auto copied = copiedRanges(table.name);
    std::vector<db::Value> values(table.columns.size());
    while (rows.next()) {
        db::Statement& row = rows.row();
        const auto rowid = std::get<std::int64_t>(row.value(0));
        if (std::any_of(copied.begin(), copied.end(), [rowid](const auto& range) {
                return rowid >= range.first && rowid <= range.second;
            })) {
            continue;
        }
        for (std::size_t i = 0; i < values.size(); ++i) {
            values[i] =
                db::ServerCatalog::forServer(table.columns[i], row.value(static_cast<int>(i + 1)));
        }
        const int before = bulk.statements();
        bulk.add(values);
        if (bulk.statements() != before && !afterBatch(written + bulk.rowsWritten())) {
            return false;
        }
    }
    bulk.finish();
    written += bulk.rowsWritten();
    return afterBatch(written);
}

void ServerCopy::writeChangedRows(const Copied& copied) {
    const db::ServerTable& table = *catalog_.table(copied.table);
    const db::ServerColumn* filerColumn = table.column("filer_id");
    // By filer (one group for a table without filers): the columns the run
    // changed and their values. A run changes a filer's rows all alike.
    std::map<std::string, std::map<std::size_t, db::Value>> changes;
    const auto rows = scratchRows(scratch_, table, copied.first, copied.last);
    for (std::size_t row = 0; row < copied.original.size() && row < rows.size(); ++row) {
        const std::vector<db::Value>& now = rows[row];
        const std::string key =
            filerColumn != nullptr
                ? db::toText(now[static_cast<std::size_t>(filerColumn - table.columns.data())])
                : std::string();
        for (std::size_t i = 0; i < now.size(); ++i) {
            if (!(now[i] == copied.original[row][i])) {
                changes[key][i] = now[i];
            }
        }
    }
    for (const auto& [filerId, columns] : changes) {
        std::string sql = "update " + table.name + " set ";
        db::Values values;
        for (const auto& [index, value] : columns) {
            sql += (values.empty() ? "" : ", ") + table.columns[index].name + " = ?";
            values.push_back(db::ServerCatalog::forServer(table.columns[index], value));
        }
        if (filerColumn != nullptr) {
            sql += " where filer_id = ?";
            values.emplace_back(filerId);
        }
        server_.statement(sql).run(values);
    }
}

} // namespace dcf::app
