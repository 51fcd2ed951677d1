#pragma once

#include "db/connection.h"
#include "staging/packed_text.h"

#include <array>
#include <cstddef>
#include <cstdint>
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
    // Another name of the filer with the same id was read before this one: a
    // lookup of the id finds that one.
    bool shadowed = false;

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
// last name and by last and first name, find them. No name has a heap node
// of its own.
class FilerNameIndex {
public:
    // Reads the filer's names, unless they are read already for this filer.
    void loadFor(db::Connection& db, const std::string& filerId);
    // A name the run has just stored for the filer, under an id no other
    // name of the filer has.
    void add(const IndexedName& name);

    // The names with this last name (and this first name, unless it is
    // empty), the lowest id first (ids order by length, then text). The
    // views stay valid until the next add.
    [[nodiscard]] std::vector<IndexedName> withName(std::string_view naml,
                                                    std::string_view namf) const;

    [[nodiscard]] std::size_t size() const { return starts_.size(); }
    // The memory the index takes, for the benchmarks.
    [[nodiscard]] std::size_t bytesUsed() const;

private:
    struct Chains {
        std::vector<std::uint32_t> heads; // per bucket: 1 + the newest name, 0 for none
        std::vector<std::uint32_t> next;  // per name: 1 + the next older name, 0 for none
    };

    void clear();
    [[nodiscard]] IndexedName decode(std::uint32_t entry) const;
    void link(Chains& chains, std::uint32_t entry, std::uint64_t hash);
    void linkByName(std::uint32_t entry, std::string_view naml, std::string_view namf);
    void grow();

    bool loaded_ = false;
    std::string filerId_;
    staging::PackedText text_;
    std::vector<staging::PackedText::Position> starts_;
    Chains byLast_;
    Chains byFull_;
};

} // namespace dcf::names
