#include "staging/scratch_import_temp.h"

#include "db/backend_sql.h"
#include "db/cursor.h"
#include "staging/staging_row.h"

#include <memory>
#include <vector>

namespace dcf::staging {
namespace {

// Rows per insert: one statement carries what 100 did. The PostgreSQL driver
// loses its way in a statement of 10,000 parameters (200 rows); 5,000 work.
constexpr std::size_t kRowsPerInsert = 100;

std::string multiRowInsert(std::size_t rows) {
    std::string columns = "import_key";
    std::string marks = "(?";
    for (const std::string& column : importTempColumns()) {
        columns += ", " + column;
        marks += ", ?";
    }
    marks += ")";
    std::string sql = "insert into IMPORTTEMP (" + columns + ") values " + marks;
    for (std::size_t row = 1; row < rows; ++row) {
        sql += ", " + marks;
    }
    return sql;
}

} // namespace

void makeScratchImportTemp(db::Connection& scratch, std::int64_t firstKey) {
    std::string sql = "create table IMPORTTEMP (import_key INTEGER PRIMARY KEY AUTOINCREMENT";
    for (const std::string& column : importTempColumns()) {
        sql += ", " + column + " TEXT";
    }
    sql += ");\n"
           "create index ix_IMPORTTEMP_rec_type_import_key on IMPORTTEMP (rec_type, import_key);\n"
           "create index ix_IMPORTTEMP_repno on IMPORTTEMP (repno);\n"
           "create index ix_IMPORTTEMP_rec_num on IMPORTTEMP (rec_num);\n";
    scratch.executeScript(sql);
    db::continueKeysAfter(scratch, "IMPORTTEMP", "import_key", firstKey - 1);
}

std::int64_t copyImportTemp(db::Connection& scratch, db::Connection& target) {
    const std::size_t width = importTempColumns().size() + 1;
    std::vector<db::Value> values;
    values.reserve(width * kRowsPerInsert);
    std::int64_t lastKey = 0;
    const auto flush = [&] {
        const std::size_t rows = values.size() / width;
        // Full batches share one prepared statement; the last, shorter one
        // has its own.
        std::unique_ptr<db::Statement> tail;
        db::Statement& insert = rows == kRowsPerInsert
                                    ? target.statement(multiRowInsert(rows))
                                    : *(tail = target.prepare(multiRowInsert(rows)));
        for (std::size_t i = 0; i < values.size(); ++i) {
            insert.bind(static_cast<int>(i + 1), values[i]);
        }
        insert.execute();
        values.clear();
    };
    db::Cursor staged(scratch, "select * from IMPORTTEMP order by import_key");
    db::Statement& select = staged.row();
    while (staged.next()) {
        lastKey = select.integer("import_key");
        values.emplace_back(lastKey);
        for (const std::string& column : importTempColumns()) {
            values.push_back(select.value(column));
        }
        if (values.size() == width * kRowsPerInsert) {
            flush();
        }
    }
    if (!values.empty()) {
        flush();
    }
    return lastKey;
}

} // namespace dcf::staging
