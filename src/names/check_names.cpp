#include "names/check_names.h"

#include "names/add_name.h"
#include "names/id_counters.h"

#include <array>
#include <optional>

namespace dcf::names {
namespace {

// Which values a lookup in names compares, besides the name and the filer.
enum Compare : unsigned {
    kType = 1U << 0U,
    kPlace = 1U << 1U, // city, state and zip
    kStreet = 1U << 2U,
    kTitle = 1U << 3U,
};

// Upper case of ASCII letters only, the same on every backend: SQLite's
// upper() leaves other letters alone, PostgreSQL's follows the locale.
std::string folded(db::Dialect dialect, const char* column) {
    if (dialect == db::Dialect::PostgreSQL) {
        return std::string("translate(") + column +
               ", 'abcdefghijklmnopqrstuvwxyz', 'ABCDEFGHIJKLMNOPQRSTUVWXYZ')";
    }
    return std::string("upper(") + column + ")";
}

std::string upperAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

// The SQL of one lookup; its parameters in the order bindLookup binds them.
std::string lookupSql(db::Dialect dialect, bool withFirstName, unsigned compare) {
    std::string sql = "select name_id, namt, namf, naml, adr1, city, stcd, zip4 from names where "
                      "filer_id = ? and " +
                      folded(dialect, "naml") + " = ?";
    if (withFirstName) {
        sql += " and " + folded(dialect, "namf") + " = ?";
    }
    if ((compare & kType) != 0U) {
        sql += " and name_type = ?";
    }
    if ((compare & kPlace) != 0U) {
        sql += " and " + folded(dialect, "city") + " = ? and " + folded(dialect, "stcd") +
               " = ? and " + folded(dialect, "zip4") + " = ?";
    }
    if ((compare & kStreet) != 0U) {
        sql += " and " + folded(dialect, "adr1") + " = ?";
    }
    if ((compare & kTitle) != 0U) {
        sql += " and " + folded(dialect, "namt") + " = ?";
    }
    // The first of several is the one with the lowest id.
    return sql + " order by length(name_id), name_id";
}

// The lookups' SQL, made once per backend and form.
const std::string& lookup(db::Dialect dialect, bool withFirstName, unsigned compare) {
    static std::array<std::array<std::array<std::string, 16>, 2>, 3> texts;
    std::string& text =
        texts[static_cast<std::size_t>(dialect)][withFirstName ? 1 : 0][compare & 15U];
    if (text.empty()) {
        text = lookupSql(dialect, withFirstName, compare);
    }
    return text;
}

// The first name found, if any: id and the values the question shows.
struct Found {
    std::string nameId;
    NameLines lines;
};

std::optional<Found> findName(run::RunContext& context, unsigned compare) {
    const run::ConversionRun& run = context.run;
    const run::ResolvedName& n = run.resolvedName;
    const bool withFirstName = !n.namf.empty();
    db::Statement& select =
        context.db.statement(lookup(context.db.dialect(), withFirstName, compare));
    int index = 0;
    const auto bind = [&](const std::string& value) { select.bind(++index, db::Value(value)); };
    bind(run.filerId);
    bind(upperAscii(n.naml));
    if (withFirstName) {
        bind(upperAscii(n.namf));
    }
    if ((compare & kType) != 0U) {
        bind(run.roleCode);
    }
    if ((compare & kPlace) != 0U) {
        bind(upperAscii(n.city));
        bind(upperAscii(n.stcd));
        bind(upperAscii(n.zip4));
    }
    if ((compare & kStreet) != 0U) {
        bind(upperAscii(n.adr1));
    }
    if ((compare & kTitle) != 0U) {
        bind(upperAscii(n.namt));
    }
    select.execute();
    std::optional<Found> found;
    if (select.next()) {
        found = Found{select.text("name_id"),
                      {select.text("namt"), select.text("namf"), select.text("naml"),
                       select.text("adr1"), select.text("city"), select.text("stcd"),
                       select.text("zip4")}};
    }
    select.reset();
    return found;
}

void addUnderNewId(run::RunContext& context, run::RecordReport& report) {
    context.run.currentNameId = FindNextNameID(context.db);
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
void askAboutSimilar(run::RunContext& context, run::RecordReport& report, const Found& candidate) {
    run::ConversionRun& run = context.run;
    if (!run.duplicateNameChecking) {
        return;
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
        return;
    }
    if (answer == run::Answer::Cancel) {
        run.duplicateNameChecking = false;
    }
    addUnderNewId(context, report);
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

void CheckNames(run::RunContext& context, run::RecordReport& report) {
    if (!findName(context, kType)) {
        addUnderNewId(context, report);
        return;
    }
    const std::optional<Found> samePlace = findName(context, kPlace);
    if (!samePlace) {
        // Query A found the name, so this finds it too.
        if (const std::optional<Found> sameName = findName(context, 0)) {
            askAboutSimilar(context, report, *sameName);
        }
        return;
    }
    const std::optional<Found> sameStreet = findName(context, kPlace | kStreet);
    if (!sameStreet) {
        askAboutSimilar(context, report, *samePlace);
        return;
    }
    if (sameStreet->lines.title.empty()) {
        context.run.currentNameId = sameStreet->nameId;
        return;
    }
    if (const std::optional<Found> sameTitle = findName(context, kPlace | kStreet | kTitle)) {
        context.run.currentNameId = sameTitle->nameId;
        return;
    }
    askAboutSimilar(context, report, *samePlace);
}

} // namespace dcf::names
