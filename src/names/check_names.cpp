#include "names/check_names.h"

#include "db/ascii_case.h"
#include "db/backend_sql.h"
#include "db/cursor.h"
#include "names/add_name.h"
#include "names/id_counters.h"

#include <variant>
#include <vector>

namespace dcf::names {
namespace {

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
        text = "select name_id, name_type, " +
               (carriesWholeRows(dialect) ? storedNameColumns()
                                          : std::string("namt, namf, naml, adr1, city, stcd, "
                                                        "zip4")) +
               " from names where filer_id = ? and " + db::upperAsciiSql(dialect, "naml") + " = ?" +
               (withFirstName ? " and " + db::upperAsciiSql(dialect, "namf") + " = ?"
                              : std::string()) +
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

Found readFound(db::Statement& row, bool wholeRow) {
    const auto isNull = [&](const char* column) {
        return std::holds_alternative<db::Null>(row.value(column));
    };
    return {row.text("name_id"),
            row.text("name_type"),
            {row.text("namt"), row.text("namf"), row.text("naml"), row.text("adr1"),
             row.text("city"), row.text("stcd"), row.text("zip4")},
            isNull("city") || isNull("stcd") || isNull("zip4"),
            isNull("adr1"),
            isNull("namt"),
            wholeRow ? std::optional(readStoredName(row)) : std::nullopt};
}

std::vector<Found> sameNames(run::RunContext& context, const ResolvedName& name) {
    const db::Dialect dialect = context.db.dialect();
    const bool withFirstName = !name.name.namf.empty();
    std::vector<Found> found;
    const auto read = [&](db::Cursor& rows) {
        while (rows.next()) {
            found.push_back(readFound(rows.row(), carriesWholeRows(dialect)));
        }
    };
    const std::string& sql = sameNameSql(dialect, withFirstName);
    if (withFirstName) {
        db::Cursor rows(context.db, sql, context.run.filer.id, db::upperAscii(name.name.naml),
                        db::upperAscii(name.name.namf));
        read(rows);
    } else {
        db::Cursor rows(context.db, sql, context.run.filer.id, db::upperAscii(name.name.naml));
        read(rows);
    }
    return found;
}

// Compared as the database compares folded values.
bool sameFolded(const std::string& stored, const std::string& value) {
    return db::equalsIgnoringAsciiCase(stored, value);
}

bool samePlace(const Found& row, const ResolvedName& n) {
    return !row.nullPlace && sameFolded(row.lines.city, n.address.city) &&
           sameFolded(row.lines.state, n.address.stcd) && sameFolded(row.lines.zip, n.address.zip4);
}

bool sameStreet(const Found& row, const ResolvedName& n) {
    return samePlace(row, n) && !row.nullStreet && sameFolded(row.lines.street, n.address.adr1);
}

bool sameTitle(const Found& row, const ResolvedName& n) {
    return sameStreet(row, n) && !row.nullTitle && sameFolded(row.lines.title, n.name.namt);
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

std::string displayName(const NameLines& name) {
    return name.first.empty() ? name.last : name.title + " " + name.first + " " + name.last;
}

// One check of one record's name.
class NameCheck {
public:
    NameCheck(run::RunContext& context, run::RecordReport& record, ResolvedName& name, Role role)
        : context_(context), record_(record), name_(name), role_(role) {}

    // Settles the id from the rows found; nameId stays as it is when the
    // questions are off and the name is only similar.
    NameMatch match(const std::vector<Found>& rows, const std::string& nameId);

private:
    NameMatch addUnderNewId();
    NameMatch taken(const Found& row) { return {row.nameId, row.stored}; }
    NameMatch askAboutSimilar(const Found& candidate, const std::string& nameId);
    void explainOnce();

    run::RunContext& context_;
    run::RecordReport& record_;
    ResolvedName& name_;
    Role role_;
};

NameMatch NameCheck::match(const std::vector<Found>& rows, const std::string& nameId) {
    const std::string role = roleCode(role_);
    if (firstWhere(rows, [&](const Found& row) { return row.nameType == role; }) == nullptr) {
        return addUnderNewId();
    }
    const Found* inPlace =
        firstWhere(rows, [&](const Found& row) { return samePlace(row, name_); });
    if (inPlace == nullptr) {
        return askAboutSimilar(rows.front(), nameId);
    }
    const Found* onStreet =
        firstWhere(rows, [&](const Found& row) { return sameStreet(row, name_); });
    if (onStreet == nullptr) {
        return askAboutSimilar(*inPlace, nameId);
    }
    if (onStreet->lines.title.empty()) {
        return taken(*onStreet);
    }
    if (const Found* titled =
            firstWhere(rows, [&](const Found& row) { return sameTitle(row, name_); })) {
        return taken(*titled);
    }
    return askAboutSimilar(*inPlace, nameId);
}

NameMatch NameCheck::addUnderNewId() {
    NameMatch added{FindNextNameID(context_), std::nullopt};
    AddName(context_, record_, added.nameId, role_, name_);
    return added;
}

void NameCheck::explainOnce() {
    run::NameQuestions& questions = context_.run.nameQuestions;
    if (questions.explained) {
        return;
    }
    context_.view.tell({"Conversion",
                        "The following prompt will allow you to decide\r\nwhich names with similar "
                        "addresses will be\r\navailable for selection when adding "
                        "new\r\ntransactions in future reports.",
                        run::Icon::Information});
    questions.explained = true;
}

// Puts a similar existing name to the user, while the questions are on.
NameMatch NameCheck::askAboutSimilar(const Found& candidate, const std::string& nameId) {
    run::NameQuestions& questions = context_.run.nameQuestions;
    if (!questions.asking) {
        return {nameId, std::nullopt};
    }
    explainOnce();
    const ResolvedName& n = name_;
    const NameLines added{n.name.namt,    n.name.namf,    n.name.naml,   n.address.adr1,
                          n.address.city, n.address.stcd, n.address.zip4};
    const run::Answer answer =
        context_.view.ask({run::QuestionKind::SimilarName, "Importing Names",
                           similarNameQuestion(candidate.lines, added), run::Icon::Question,
                           run::Answer::No, run::Buttons::YesNoCancel});
    if (answer == run::Answer::Yes) {
        return taken(candidate);
    }
    if (answer == run::Answer::Cancel) {
        questions.asking = false;
    }
    return addUnderNewId();
}

} // namespace

const std::string& storedNameColumns() {
    static const std::string columns = [] {
        std::string list;
        for (const char* column : kStoredNameColumns) {
            list += (list.empty() ? "" : ", ") + std::string(column);
        }
        return list;
    }();
    return columns;
}

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

NameMatch CheckNames(run::RunContext& context, run::RecordReport& record, ResolvedName& name,
                     Role role, const std::string& nameId) {
    // One lookup of the filer's names with this name; the finer matches are
    // taken from its rows, compared as the database compares.
    const std::vector<Found> rows = sameNames(context, name);
    return NameCheck(context, record, name, role).match(rows, nameId);
}

StoredName readStoredName(db::Statement& row) {
    const auto text = [&row](const char* column) { return row.text(column); };
    StoredName stored{text("name_id"), text("name_type"), {}};
    ResolvedName& v = stored.values;
    v.name = {text("naml"), text("namf"), text("namt"), text("nams"), text("namn")};
    v.address = {text("adr1"), text("adr2"), text("city"), text("stcd"), text("zip4")};
    v.person = {.employer = text("employer"),
                .occup = text("occup"),
                .jobTitle = text("job_title"),
                .spousEmp = text("spous_emp"),
                .parent1 = text("parent1"),
                .parent2 = text("parent2")};
    v.osPacCb = text("os_pac_cb");
    v.osPacFec = text("os_pac_fec");
    return stored;
}

} // namespace dcf::names
