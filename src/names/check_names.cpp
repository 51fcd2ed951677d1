#include "names/check_names.h"

#include "db/ascii_case.h"
#include "names/add_name.h"
#include "names/id_counters.h"

#include <array>
#include <variant>
#include <vector>

namespace dcf::names {
namespace {

// Upper case of ASCII letters only, the same on every backend: SQLite's
// upper() leaves other letters alone, PostgreSQL's follows the locale.
std::string folded(db::Dialect dialect, const char* column) {
    if (dialect == db::Dialect::PostgreSQL) {
        return std::string("translate(") + column +
               ", 'abcdefghijklmnopqrstuvwxyz', 'ABCDEFGHIJKLMNOPQRSTUVWXYZ')";
    }
    return std::string("upper(") + column + ")";
}

// On a server the lookup carries every column a resolved name takes over,
// so that the row of the id the checks settle on is not asked for again; in
// SQLite reading the one row again costs less than carrying the columns of
// every row found.
bool carriesWholeRows(db::Dialect dialect) {
    return dialect == db::Dialect::PostgreSQL;
}

// The filer's names with this name (first and last, or the last alone for
// an organisation), the lowest id first; made once per backend and form.
const std::string& sameNameSql(db::Dialect dialect, bool withFirstName) {
    static std::array<std::array<std::string, 2>, 3> texts;
    std::string& text = texts[static_cast<std::size_t>(dialect)][withFirstName ? 1 : 0];
    if (text.empty()) {
        text = std::string("select ") +
               (carriesWholeRows(dialect)
                    ? "name_id, name_type, naml, namf, namt, nams, namn, adr1, adr2, city, stcd, "
                      "zip4, occup, job_title, employer, spous_emp, parent1, parent2, os_pac_cb, "
                      "os_pac_fec"
                    : "name_id, name_type, namt, namf, naml, adr1, city, stcd, zip4") +
               " from names where filer_id = ? and " + folded(dialect, "naml") + " = ?" +
               (withFirstName ? " and " + folded(dialect, "namf") + " = ?" : std::string()) +
               " order by length(name_id), name_id";
    }
    return text;
}

// One stored name with the same name. A value the database holds as null
// equals nothing, as in SQL.
struct Found {
    std::string nameId;
    std::string nameType;
    NameLines lines;
    bool nullPlace = false;
    bool nullStreet = false;
    bool nullTitle = false;
    std::optional<StoredName> stored;
};

std::vector<Found> sameNames(run::RunContext& context) {
    const run::ConversionRun& run = context.run;
    const run::ResolvedName& n = run.resolvedName;
    const bool withFirstName = !n.namf.empty();
    db::Statement& select = context.db.statement(sameNameSql(context.db.dialect(), withFirstName));
    select.bind(1, db::Value(run.filerId));
    select.bind(2, db::Value(db::upperAscii(n.naml)));
    if (withFirstName) {
        select.bind(3, db::Value(db::upperAscii(n.namf)));
    }
    select.execute();
    std::vector<Found> found;
    while (select.next()) {
        const auto isNull = [&](const char* column) {
            return std::holds_alternative<db::Null>(select.value(column));
        };
        found.push_back(
            {select.text("name_id"),
             select.text("name_type"),
             {select.text("namt"), select.text("namf"), select.text("naml"), select.text("adr1"),
              select.text("city"), select.text("stcd"), select.text("zip4")},
             isNull("city") || isNull("stcd") || isNull("zip4"),
             isNull("adr1"),
             isNull("namt"),
             carriesWholeRows(context.db.dialect()) ? std::optional(readStoredName(select))
                                                    : std::nullopt});
    }
    select.reset();
    return found;
}

// Compared as the database compares folded values.
bool sameFolded(const std::string& stored, const std::string& value) {
    return db::equalsIgnoringAsciiCase(stored, value);
}

bool samePlace(const Found& row, const run::ResolvedName& n) {
    return !row.nullPlace && sameFolded(row.lines.city, n.city) &&
           sameFolded(row.lines.state, n.stcd) && sameFolded(row.lines.zip, n.zip4);
}

bool sameStreet(const Found& row, const run::ResolvedName& n) {
    return samePlace(row, n) && !row.nullStreet && sameFolded(row.lines.street, n.adr1);
}

bool sameTitle(const Found& row, const run::ResolvedName& n) {
    return sameStreet(row, n) && !row.nullTitle && sameFolded(row.lines.title, n.namt);
}

// The first row that passes, in id order.
template <typename Test> const Found* firstWhere(const std::vector<Found>& rows, Test test) {
    for (const Found& row : rows) {
        if (test(row)) {
            return &row;
        }
    }
    return nullptr;
}

void addUnderNewId(run::RunContext& context, run::RecordReport& report) {
    context.run.currentNameId = FindNextNameID(context);
    AddName(context, report);
}

std::string displayName(const NameLines& name) {
    return name.first.empty() ? name.last : name.title + " " + name.first + " " + name.last;
}

void explainOnce(run::RunContext& context) {
    if (!context.run.duplicateNameExplanation) {
        return;
    }
    context.view.tell({"Conversion",
                       "The following prompt will allow you to decide\r\nwhich names with similar "
                       "addresses will be\r\navailable for selection when adding "
                       "new\r\ntransactions in future reports.",
                       run::Icon::Information});
    context.run.duplicateNameExplanation = false;
}

// Puts a similar existing name to the user, while the questions are on.
// True when the user took the existing name's id.
bool askAboutSimilar(run::RunContext& context, run::RecordReport& report, const Found& candidate) {
    run::ConversionRun& run = context.run;
    if (!run.duplicateNameChecking) {
        return false;
    }
    explainOnce(context);
    const run::ResolvedName& n = run.resolvedName;
    const NameLines added{n.namt, n.namf, n.naml, n.adr1, n.city, n.stcd, n.zip4};
    const run::Answer answer =
        context.view.ask({run::QuestionKind::SimilarName, "Importing Names",
                          similarNameQuestion(candidate.lines, added), run::Icon::Question,
                          run::Answer::No, run::Buttons::YesNoCancel});
    if (answer == run::Answer::Yes) {
        run.currentNameId = candidate.nameId;
        return true;
    }
    if (answer == run::Answer::Cancel) {
        run.duplicateNameChecking = false;
    }
    addUnderNewId(context, report);
    return false;
}

// Sets the current id from the rows found; returns the row whose id it took,
// nullptr when it added the name or left the id as it was.
const Found* matchNames(run::RunContext& context, run::RecordReport& report,
                        const std::vector<Found>& rows) {
    const run::ResolvedName& n = context.run.resolvedName;
    const std::string& role = context.run.roleCode;
    if (firstWhere(rows, [&](const Found& row) { return row.nameType == role; }) == nullptr) {
        addUnderNewId(context, report);
        return nullptr;
    }
    const Found* inPlace = firstWhere(rows, [&](const Found& row) { return samePlace(row, n); });
    if (inPlace == nullptr) {
        return askAboutSimilar(context, report, rows.front()) ? &rows.front() : nullptr;
    }
    const Found* onStreet = firstWhere(rows, [&](const Found& row) { return sameStreet(row, n); });
    if (onStreet == nullptr) {
        return askAboutSimilar(context, report, *inPlace) ? inPlace : nullptr;
    }
    if (onStreet->lines.title.empty()) {
        context.run.currentNameId = onStreet->nameId;
        return onStreet;
    }
    if (const Found* titled =
            firstWhere(rows, [&](const Found& row) { return sameTitle(row, n); })) {
        context.run.currentNameId = titled->nameId;
        return titled;
    }
    return askAboutSimilar(context, report, *inPlace) ? inPlace : nullptr;
}

} // namespace

std::string similarNameQuestion(const NameLines& existing, const NameLines& added) {
    const auto place = [](const NameLines& name) {
        return name.city + " " + name.state + " " + name.zip;
    };
    return "There is already a name:\r\n\r\n" + displayName(existing) + "\r\n" + existing.street +
           "\r\n" + place(existing) + "\r\n\r\nthat is similar to this one being added:\r\n\r\n" +
           displayName(added) + "\r\n" + added.street + "\r\n" + place(added) +
           "\r\n\r\nDo you want to use the existing name information? \r\n(Press Cancel to "
           "Stop checking for duplicate names and continue with conversion) ";
}

std::optional<StoredName> CheckNames(run::RunContext& context, run::RecordReport& report) {
    // One lookup of the filer's names with this name; the finer matches are
    // taken from its rows, compared as the database compares.
    const std::vector<Found> rows = sameNames(context);
    if (const Found* taken = matchNames(context, report, rows)) {
        return taken->stored; // nothing when the lookup did not carry the row
    }
    return std::nullopt;
}

StoredName readStoredName(db::Statement& row) {
    StoredName stored{row.text("name_id"), row.text("name_type"), {}};
    for (std::size_t i = 0; i < kStoredNameColumns.size(); ++i) {
        stored.values[i] = row.text(kStoredNameColumns[i]);
    }
    return stored;
}

} // namespace dcf::names
