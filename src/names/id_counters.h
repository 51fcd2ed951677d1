#pragma once

#include "db/connection.h"
#include "run/run_context.h"

#include <cstdint>
#include <string>

namespace dcf::names {

// The next free name id, as text. The first draw of a run advances
// repno.NameID in the database and takes its row for the run; later draws
// count on from the run's held id (ConversionRun::heldNameId) until
// storeHeldNameId writes it back. Throws when repno holds no row: no id can
// be handed out safely then.
std::string FindNextNameID(run::RunContext& context);

// The first of `count` name ids drawn at once, as a number: the same ids
// that `count` calls of FindNextNameID would hand out.
std::int64_t FindNextNameIDs(run::RunContext& context, std::int64_t count);

// Writes the run's held name id back to repno.NameID; the run calls it
// before it commits, so the counter ends where drawing one id at a time in
// the database would have left it.
void storeHeldNameId(run::RunContext& context);

// The next free report number, as text; repno.repno is one higher afterwards.
std::string FindNextRepNo(db::Connection& db);

} // namespace dcf::names
