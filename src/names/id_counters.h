#pragma once

#include "db/connection.h"

#include <cstdint>
#include <string>

namespace dcf::names {

// The next free name id, as text; repno.NameID is one higher afterwards.
// Throws when repno holds no row: no id can be handed out safely then.
std::string FindNextNameID(db::Connection& db);

// The first of `count` name ids drawn at once, as a number: the same ids
// that `count` calls of FindNextNameID would hand out, in one statement.
std::int64_t FindNextNameIDs(db::Connection& db, std::int64_t count);

// The next free report number, as text; repno.repno is one higher afterwards.
std::string FindNextRepNo(db::Connection& db);

} // namespace dcf::names
