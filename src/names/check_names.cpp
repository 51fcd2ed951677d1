#include "names/check_names.h"

#include "db/ascii_case.h"
#include "names/add_name.h"
#include "names/id_counters.h"

#include <array>
#include <vector>

namespace dcf::names {
namespace {

// Compared as the database compares folded values; a null equals nothing.
bool sameFolded(std::string_view stored, const std::string& value) {
    return db::equalsIgnoringAsciiCase(stored, value);
}

bool samePlace(const IndexedName& row, const ResolvedName& n) {
    return !row.nullPlace && sameFolded(row[Stored::City], n.address.city) &&
           sameFolded(row[Stored::Stcd], n.address.stcd) &&
           sameFolded(row[Stored::Zip4], n.address.zip4);
}

bool sameStreet(const IndexedName& row, const ResolvedName& n) {
    return samePlace(row, n) && !row.nullStreet && sameFolded(row[Stored::Adr1], n.address.adr1);
}

bool sameTitle(const IndexedName& row, const ResolvedName& n) {
    return sameStreet(row, n) && !row.nullTitle && sameFolded(row[Stored::Namt], n.name.namt);
}

// What the checks read of the stored names with the same name, each the
// first in id order: the first of all, the first in the same place, on the
// same street, and with the same title too; and whether one has the role.
struct SameNames {
    std::optional<IndexedName> first, inPlace, onStreet, titled;
    bool inRole = false;
};

// One walk of the names with this name, in id order, that stops as soon as
// the rest could change nothing the checks decide; none when no name has
// the role, which decides alone.
SameNames sameNames(run::RunContext& context, FilerNameIndex& stored, const ResolvedName& name,
                    const std::string& role) {
    stored.loadFor(context.db(), context.run.filer.id);
    SameNames same;
    same.inRole = stored.hasNameOfType(name.name.naml, name.name.namf, role);
    if (!same.inRole) {
        return same;
    }
    stored.visitWithName(name.name.naml, name.name.namf, [&](const IndexedName& row) {
        const auto keepFirst = [&row](std::optional<IndexedName>& kept, bool passes) {
            if (!kept && passes) {
                kept = row;
            }
        };
        keepFirst(same.first, true);
        keepFirst(same.inPlace, samePlace(row, name));
        keepFirst(same.onStreet, sameStreet(row, name));
        keepFirst(same.titled, sameTitle(row, name));
        const bool settled =
            same.onStreet && ((*same.onStreet)[Stored::Namt].empty() || same.titled);
        return !settled;
    });
    return same;
}

NameLines linesOf(const IndexedName& row) {
    const auto text = [&row](Stored column) { return std::string(row[column]); };
    return {text(Stored::Namt), text(Stored::Namf), text(Stored::Naml), text(Stored::Adr1),
            text(Stored::City), text(Stored::Stcd), text(Stored::Zip4)};
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

    // Settles the id from the names found; nameId stays as it is when the
    // questions are off and the name is only similar.
    NameMatch match(const SameNames& same, const std::string& nameId);

private:
    NameMatch addUnderNewId();
    // The name's id, and its row unless a lookup of the id might find
    // another name of the filer with the same id.
    static NameMatch taken(const IndexedName& row) {
        NameMatch match{std::string(row[Stored::NameId]), std::nullopt};
        if (!row.sharedId) {
            match.stored = storedNameOf(row.values);
        }
        return match;
    }
    NameMatch askAboutSimilar(const IndexedName& candidate, const std::string& nameId);
    void explainOnce();

    run::RunContext& context_;
    FilerNameIndex& stored_;
    run::RecordReport& record_;
    ResolvedName& name_;
    Role role_;
};

NameMatch NameCheck::match(const SameNames& same, const std::string& nameId) {
    if (!same.inRole) {
        return addUnderNewId();
    }
    if (!same.inPlace) {
        return askAboutSimilar(*same.first, nameId);
    }
    if (!same.onStreet) {
        return askAboutSimilar(*same.inPlace, nameId);
    }
    if ((*same.onStreet)[Stored::Namt].empty()) {
        return taken(*same.onStreet);
    }
    if (same.titled) {
        return taken(*same.titled);
    }
    return askAboutSimilar(*same.inPlace, nameId);
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
NameMatch NameCheck::askAboutSimilar(const IndexedName& candidate, const std::string& nameId) {
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
                           similarNameQuestion(linesOf(candidate), added), run::Icon::Question,
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
    const SameNames same = sameNames(context, stored, name, roleCode(role));
    return NameCheck(context, stored, record, name, role).match(same, nameId);
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
