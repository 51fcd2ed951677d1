#pragma once

#include "db/connection.h"

#include <string>

namespace dcf::names {

// The next free name id, as text; repno.NameID is one higher afterwards.
// Throws when repno holds no row: no id can be handed out safely then.
std::string FindNextNameID(db::Connection& db);

// The next free report number, as text; repno.repno is one higher afterwards.
std::string FindNextRepNo(db::Connection& db);

} // namespace dcf::names
