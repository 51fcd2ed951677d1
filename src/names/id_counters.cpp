#include "names/id_counters.h"

#include "db/cursor.h"
#include "run/run_errors.h"

namespace dcf::names {
namespace {

// Advances the counter by `count` in one atomic statement, which takes the
// row's write lock for the rest of the run's transaction, so the value read
// back right after it is this run's alone. Returns the first number drawn.
std::string drawNext(db::Connection& db, const char* column, std::int64_t count, const char* what) {
    const std::string name(column);
    db::Statement& update = db.statement("update repno set " + name + " = " + name + " + ?");
    update.run(count);
    if (update.rowsAffected() == 0) {
        throw run::RunEndingError(std::string("The table repno holds no row, so no ") + what +
                                  " can be handed out. Restore its one row (NameID and repno, "
                                  "the next free numbers) and convert the file again.");
    }
    db::Cursor drawn(db, "select " + name + " - ? as drawn from repno", count);
    if (!drawn.next()) {
        throw run::RunEndingError("The table repno lost its row while a number was drawn.");
    }
    return db::toText(drawn.row().value("drawn"));
}

} // namespace

std::int64_t FindNextNameIDs(run::RunContext& context, std::int64_t count) {
    std::optional<std::int64_t>& held = context.run.heldNameId;
    if (!held) {
        const std::int64_t first = std::stoll(drawNext(context.db(), "NameID", count, "name id"));
        held = first + count;
        return first;
    }
    const std::int64_t first = *held;
    *held += count;
    return first;
}

std::string FindNextNameID(run::RunContext& context) {
    return std::to_string(FindNextNameIDs(context, 1));
}

void storeHeldNameId(run::RunContext& context) {
    if (const std::optional<std::int64_t> held = context.run.heldNameId) {
        context.db().statement("update repno set NameID = ?").run(*held);
    }
}

std::string FindNextRepNo(db::Connection& db) {
    return drawNext(db, "repno", 1, "report number");
}

} // namespace dcf::names
