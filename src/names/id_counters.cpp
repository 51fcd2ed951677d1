#include "names/id_counters.h"

#include "run/run_errors.h"

namespace dcf::names {
namespace {

// The advance is one atomic statement that takes the row's write lock for the
// rest of the run's transaction, so the value read back right after it is
// this run's alone.
std::string drawNext(db::Connection& db, const char* advance, const char* read, const char* what) {
    db::Statement& update = db.statement(advance);
    update.execute();
    if (update.rowsAffected() == 0) {
        throw run::RunEndingError(std::string("The table repno holds no row, so no ") + what +
                                  " can be handed out. Restore its one row (NameID and repno, "
                                  "the next free numbers) and convert the file again.");
    }
    db::Statement& select = db.statement(read);
    select.execute();
    if (!select.next()) {
        throw run::RunEndingError("The table repno lost its row while a number was drawn.");
    }
    std::string value = db::toText(select.value("drawn"));
    select.reset();
    return value;
}

} // namespace

std::string FindNextNameID(db::Connection& db) {
    return drawNext(db, "update repno set NameID = NameID + 1",
                    "select NameID - 1 as drawn from repno", "name id");
}

std::string FindNextRepNo(db::Connection& db) {
    return drawNext(db, "update repno set repno = repno + 1",
                    "select repno - 1 as drawn from repno", "report number");
}

} // namespace dcf::names
