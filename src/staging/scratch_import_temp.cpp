#include "staging/scratch_import_temp.h"

#include "db/backend_sql.h"
#include "db/cursor.h"
#include "db/error.h"
#include "db/server_bulk_insert.h"
#include "db/server_catalog.h"
#include "staging/staging_row.h"

#include <vector>

namespace dcf::staging {

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
    const db::ServerCatalog catalog = db::ServerCatalog::read(target, {"IMPORTTEMP"});
    const db::ServerTable* table = catalog.table("IMPORTTEMP");
    if (table == nullptr) {
        throw db::DbError("42P01", 0, "The server has no table IMPORTTEMP.", "dcfconvert");
    }
    db::ServerBulkInsert bulk(target, *table);
    std::vector<db::Value> values(table->columns.size());
    std::int64_t lastKey = 0;
    db::Cursor staged(scratch,
                      "select " + table->columnList() + " from IMPORTTEMP order by import_key");
    db::Statement& row = staged.row();
    while (staged.next()) {
        for (std::size_t i = 0; i < values.size(); ++i) {
            values[i] =
                db::ServerCatalog::forServer(table->columns[i], row.value(static_cast<int>(i)));
        }
        lastKey = row.integer("import_key");
        bulk.add(values);
    }
    bulk.finish();
    return lastKey;
}

} // namespace dcf::staging
