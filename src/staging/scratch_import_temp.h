#pragma once

#include "db/connection.h"

#include <cstdint>

namespace dcf::staging {

// Makes IMPORTTEMP as schema/sqlite.sql makes it, with its indexes, in a
// run's scratch database; the first row staged there gets key `firstKey`.
void makeScratchImportTemp(db::Connection& scratch, std::int64_t firstKey);

// Inserts every row of the scratch IMPORTTEMP into the target's, in key
// order and with their keys, thousands of rows per statement (a PostgreSQL
// target: db::ServerBulkInsert). Returns the last
// key copied, 0 when there was none.
std::int64_t copyImportTemp(db::Connection& scratch, db::Connection& target);

} // namespace dcf::staging
