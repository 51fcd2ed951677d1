#include "names/check_names.h"

#include "db/ascii_case.h"
#include "names/add_name.h"
#include "names/id_counters.h"

#include <array>
#include <vector>

namespace dcf::names {
namespace {

// One stored name with the same name: the index's entry (whose text stays
// where it is while the index grows) and what the comparisons read of it.
struct Found {
    IndexedName entry;
    std::string_view nameId;
    std::string_view nameType;
    NameLines lines;
    bool nullPlace = false;
    bool nullStreet = false;
    bool nullTitle = false;
};

std::vector<Found> sameNames(run::RunContext& context, FilerNameIndex& stored,
                             const ResolvedName& name) {
    stored.loadFor(context.db, context.run.filer.id);
    std::vector<Found> found;
    for (const IndexedName& row : stored.withName(name.name.naml, name.name.namf)) {
        const auto text = [&row](Stored column) { return std::string(row[column]); };
        found.push_back(
            {row,
             row[Stored::NameId],
             row[Stored::NameType],
             {text(Stored::Namt), text(Stored::Namf), text(Stored::Naml), text(Stored::Adr1),
              text(Stored::City), text(Stored::Stcd), text(Stored::Zip4)},
             row.nullPlace,
             row.nullStreet,
             row.nullTitle});
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
    NameCheck(run::RunContext& context, FilerNameIndex& stored, run::RecordReport& record,
              ResolvedName& name, Role role)
        : context_(context), stored_(stored), record_(record), name_(name), role_(role) {}

    // Settles the id from the rows found; nameId stays as it is when the
    // questions are off and the name is only similar.
    NameMatch match(const std::vector<Found>& rows, const std::string& nameId);

private:
    NameMatch addUnderNewId();
    // The name's id, and its row unless a lookup of the id would find
    // another name of the filer with the same id.
    static NameMatch taken(const Found& row) {
        NameMatch match{std::string(row.nameId), std::nullopt};
        if (!row.entry.shadowed) {
            match.stored = storedNameOf(row.entry.values);
        }
        return match;
    }
    NameMatch askAboutSimilar(const Found& candidate, const std::string& nameId);
    void explainOnce();

    run::RunContext& context_;
    FilerNameIndex& stored_;
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
    // The row as written, unless the table refused it.
    if (AddName(context_, stored_, record_, added.nameId, role_, name_)) {
        added.stored = StoredName{added.nameId, roleCode(role_), name_};
    }
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

NameMatch CheckNames(run::RunContext& context, FilerNameIndex& stored, run::RecordReport& record,
                     ResolvedName& name, Role role, const std::string& nameId) {
    // One lookup of the filer's names with this name; the finer matches are
    // taken from its rows, compared as the database compares.
    const std::vector<Found> rows = sameNames(context, stored, name);
    return NameCheck(context, stored, record, name, role).match(rows, nameId);
}

StoredName readStoredName(db::Statement& row) {
    std::array<std::string, kStoredValues> texts;
    std::array<std::string_view, kStoredValues> values;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        texts[i] = db::toText(row.value(static_cast<int>(i)));
        values[i] = texts[i];
    }
    return storedNameOf(values);
}

StoredName storedNameOf(const std::array<std::string_view, kStoredValues>& values) {
    const auto v = [&values](Stored column) {
        return std::string(values[static_cast<std::size_t>(column)]);
    };
    StoredName stored{v(Stored::NameId), v(Stored::NameType), {}};
    ResolvedName& n = stored.values;
    n.name = {v(Stored::Naml), v(Stored::Namf), v(Stored::Namt), v(Stored::Nams), v(Stored::Namn)};
    n.address = {v(Stored::Adr1), v(Stored::Adr2), v(Stored::City), v(Stored::Stcd),
                 v(Stored::Zip4)};
    n.person = {.employer = v(Stored::Employer),
                .occup = v(Stored::Occup),
                .jobTitle = v(Stored::JobTitle),
                .spousEmp = v(Stored::SpousEmp),
                .parent1 = v(Stored::Parent1),
                .parent2 = v(Stored::Parent2)};
    n.osPacCb = v(Stored::OsPacCb);
    n.osPacFec = v(Stored::OsPacFec);
    return stored;
}

} // namespace dcf::names
