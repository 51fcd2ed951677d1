#pragma once

#include "db/connection.h"
#include "staging/packed_text.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace dcf::names {

// The columns of a stored name the index keeps, in this order: name_id,
// name_type, then the columns a resolved name takes over (kStoredNameColumns).
enum class Stored : std::size_t {
    NameId,
    NameType,
    Naml,
    Namf,
    Namt,
    Nams,
    Namn,
    Adr1,
    Adr2,
    City,
    Stcd,
    Zip4,
    Occup,
    JobTitle,
    Employer,
    SpousEmp,
    Parent1,
    Parent2,
    OsPacCb,
    OsPacFec,
};
inline constexpr std::size_t kStoredValues = 20;

// A stored name as the index holds it. A value the database holds as null
// reads as empty; where the checks compare it, a flag says it was null: it
// equals nothing, as in SQL.
struct IndexedName {
    std::array<std::string_view, kStoredValues> values;
    bool nullPlace = false;  // city, state or zip code is null
    bool nullStreet = false; // adr1 is null
    bool nullTitle = false;  // namt is null
    // Another name of the filer has the same id: which of them a lookup of
    // the id finds is the database's choice.
    bool sharedId = false;

    [[nodiscard]] std::string_view operator[](Stored column) const {
        return values[static_cast<std::size_t>(column)];
    }
};

// The run's filer's stored names, in memory: read once, kept current as the
// run adds names, and searched by last and first name without regard to
// ASCII case, so that the name checks read no row of names.
//
// Each name is a short packed record (a flag byte, then each value behind
// its length, a byte for an empty one); two hash tables of 32-bit links, by
// last name and by last and first name, find them. Each chain is kept in id
// order, so that a search can stop at the first name that settles it,
// however many names share a name. A third, by last name and type, answers
// whether a name has a role without walking the names of other roles. No
// name has a heap node of its own.
class FilerNameIndex {
public:
    // Reads the filer's names, unless they are read already for this filer.
    void loadFor(db::Connection& db, const std::string& filerId);
    // A name the run has just stored for the filer, under an id no other
    // name of the filer has.
    void add(const IndexedName& name);

    // Shows `visit` the names with this last name (and this first name,
    // unless it is empty), the lowest id first (ids order by length, then
    // text; equal ids in the order read), until it returns false. The views
    // stay valid while the index lives.
    void visitWithName(std::string_view naml, std::string_view namf,
                       const std::function<bool(const IndexedName&)>& visit) const;
    // Whether one of those names has this type (role), however far down in
    // id order it comes.
    [[nodiscard]] bool hasNameOfType(std::string_view naml, std::string_view namf,
                                     std::string_view type) const;
    // All of them, for the tests.
    [[nodiscard]] std::vector<IndexedName> withName(std::string_view naml,
                                                    std::string_view namf) const;

    [[nodiscard]] std::size_t size() const { return starts_.size(); }
    // The memory the index takes, for the benchmarks.
    [[nodiscard]] std::size_t bytesUsed() const;

private:
    // Links hold 1 + a name's place, 0 for none.
    struct Chains {
        std::vector<std::uint32_t> heads; // per bucket: the name of the lowest id
        std::vector<std::uint32_t> tails; // per bucket: the name of the highest id
        std::vector<std::uint32_t> next;  // per name: the next name in id order
    };

    void clear();
    [[nodiscard]] IndexedName decode(std::uint32_t entry) const;
    void link(Chains& chains, std::uint32_t entry, std::uint64_t hash);
    [[nodiscard]] bool idBefore(std::uint32_t a, std::uint32_t b) const;
    void linkByName(std::uint32_t entry, std::string_view naml, std::string_view namf,
                    std::string_view type);
    void grow();

    bool loaded_ = false;
    std::string filerId_;
    staging::PackedText text_;
    std::vector<staging::PackedText::Position> starts_;
    std::vector<bool> sharedIds_;
    Chains byLast_;
    Chains byFull_;
    Chains byType_; // in no order; its tails are not kept
};

} // namespace dcf::names
