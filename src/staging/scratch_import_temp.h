#pragma once

#include "db/connection.h"

#include <cstdint>
#include <string>

namespace dcf::staging {

// IMPORTTEMP as schema/sqlite.sql makes it, with its indexes, for a run's
// scratch database; its keys never go back, so the first key can be set.
std::string scratchImportTempSchema();

// The next row staged in the scratch IMPORTTEMP gets this key.
void setNextImportKey(db::Connection& scratch, std::int64_t key);

// Inserts every row of the scratch IMPORTTEMP into the target's, in key
// order and with their keys, several rows per statement. Returns the last
// key copied, 0 when there was none.
std::int64_t copyImportTemp(db::Connection& scratch, db::Connection& target);

} // namespace dcf::staging
