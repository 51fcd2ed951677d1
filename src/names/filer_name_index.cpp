#include "names/filer_name_index.h"

#include "db/ascii_case.h"
#include "db/cursor.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <utility>
#include <variant>

namespace dcf::names {
namespace {

enum Flag : unsigned char { kNullPlace = 1, kNullStreet = 2, kNullTitle = 4 };

constexpr std::size_t at(Stored column) {
    return static_cast<std::size_t>(column);
}

// The values a chain walk reads before it knows whether a name is the one
// sought: the id, the type and the two names.
constexpr std::size_t kKeyValues = at(Stored::Namf) + 1;

// FNV-1a over the ASCII-folded text, so that names equal without regard to
// case fall in one bucket.
std::uint64_t foldedHash(std::string_view text, std::uint64_t hash = 14695981039346656037ULL) {
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(db::lowerAscii(c));
        hash *= 1099511628211ULL;
    }
    return hash;
}

std::uint64_t fullNameHash(std::string_view naml, std::string_view namf) {
    // A separator between the names, so that "AB" "C" is not "A" "BC".
    return foldedHash(namf, foldedHash("\x1f", foldedHash(naml)));
}

// The type as stored, not folded: the checks compare it exactly.
std::uint64_t typeHash(std::string_view naml, std::string_view type) {
    std::uint64_t hash = foldedHash("\x1f", foldedHash(naml));
    for (const char c : type) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

// Characters, as the database's length() counts them in UTF-8 text.
std::size_t characters(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xc0) != 0x80;
    }));
}

bool isNull(db::Statement& row, Stored column) {
    return std::holds_alternative<db::Null>(row.value(static_cast<int>(at(column))));
}

const std::string& loadSql() {
    static const std::string sql =
        "select name_id, name_type, naml, namf, namt, nams, namn, adr1, adr2, city, stcd, zip4, "
        "occup, job_title, employer, spous_emp, parent1, parent2, os_pac_cb, os_pac_fec from "
        "names where filer_id = ? order by length(name_id), name_id";
    return sql;
}

} // namespace

void FilerNameIndex::clear() {
    text_ = {};
    starts_.clear();
    sharedIds_.clear();
    byLast_ = {};
    byFull_ = {};
    byType_ = {};
}

void FilerNameIndex::loadFor(db::Connection& db, const std::string& filerId) {
    if (loaded_ && filerId_ == filerId) {
        return;
    }
    clear();
    // In id order: the chains are built by appending, and names that share
    // an id come one after the other.
    db::Cursor rows(db, loadSql(), filerId);
    std::array<std::string, kStoredValues> texts;
    std::string lastId;
    bool lastKept = false;
    for (bool first = true; rows.next(); first = false) {
        db::Statement& row = rows.row();
        std::string id = db::toText(row.value(static_cast<int>(at(Stored::NameId))));
        const bool shared = !first && id == lastId;
        if (shared && lastKept) {
            sharedIds_.back() = true;
        }
        lastId = std::move(id);
        // A null last name equals no name searched for.
        lastKept = !isNull(row, Stored::Naml);
        if (!lastKept) {
            continue;
        }
        IndexedName name;
        for (std::size_t i = 0; i < kStoredValues; ++i) {
            texts[i] = db::toText(row.value(static_cast<int>(i)));
            name.values[i] = texts[i];
        }
        name.nullPlace =
            isNull(row, Stored::City) || isNull(row, Stored::Stcd) || isNull(row, Stored::Zip4);
        name.nullStreet = isNull(row, Stored::Adr1);
        name.nullTitle = isNull(row, Stored::Namt);
        name.sharedId = shared;
        add(name);
    }
    filerId_ = filerId;
    loaded_ = true;
}

void FilerNameIndex::add(const IndexedName& name) {
    if (starts_.size() >= std::numeric_limits<std::uint32_t>::max() - 1) {
        throw std::length_error("too many names for one filer");
    }
    const auto entry = static_cast<std::uint32_t>(starts_.size());
    const auto flags = static_cast<unsigned char>((name.nullPlace ? kNullPlace : 0) |
                                                  (name.nullStreet ? kNullStreet : 0) |
                                                  (name.nullTitle ? kNullTitle : 0));
    starts_.push_back(text_.add(name.values, flags));
    sharedIds_.push_back(name.sharedId);
    byLast_.next.push_back(0);
    byFull_.next.push_back(0);
    byType_.next.push_back(0);
    // Two names a bucket at most: the buckets cost less than the names, and
    // a chain walk reads a name or two of others.
    if (starts_.size() > 2 * byLast_.heads.size()) {
        grow();
    } else {
        linkByName(entry, name[Stored::Naml], name[Stored::Namf], name[Stored::NameType]);
    }
}

// Ids order by their length in characters, then by their text; a name
// comes after those with an equal id added before it.
bool FilerNameIndex::idBefore(std::uint32_t a, std::uint32_t b) const {
    const std::string_view idA = text_.first(starts_[a]);
    const std::string_view idB = text_.first(starts_[b]);
    const std::size_t lengthA = characters(idA);
    const std::size_t lengthB = characters(idB);
    return lengthA != lengthB ? lengthA < lengthB : idA < idB;
}

// Into its bucket's chain in id order: at the end, as nearly every name
// comes (names are read in id order, and the run draws ids upwards), or
// before the first name of a later id.
void FilerNameIndex::link(Chains& chains, std::uint32_t entry, std::uint64_t hash) {
    const std::size_t bucket = hash & (chains.heads.size() - 1);
    std::uint32_t& head = chains.heads[bucket];
    std::uint32_t& tail = chains.tails[bucket];
    chains.next[entry] = 0;
    if (head == 0) {
        head = tail = entry + 1;
        return;
    }
    if (!idBefore(entry, tail - 1)) {
        chains.next[tail - 1] = entry + 1;
        tail = entry + 1;
        return;
    }
    std::uint32_t before = 0;
    std::uint32_t at = head;
    while (at != 0 && !idBefore(entry, at - 1)) {
        before = at;
        at = chains.next[at - 1];
    }
    chains.next[entry] = at;
    (before == 0 ? head : chains.next[before - 1]) = entry + 1;
}

void FilerNameIndex::linkByName(std::uint32_t entry, std::string_view naml, std::string_view namf,
                                std::string_view type) {
    std::uint32_t& head = byType_.heads[typeHash(naml, type) & (byType_.heads.size() - 1)];
    byType_.next[entry] = head;
    head = entry + 1;
    link(byLast_, entry, foldedHash(naml));
    // A search with a first name never finds a name without one.
    if (!namf.empty()) {
        link(byFull_, entry, fullNameHash(naml, namf));
    }
}

// Twice the buckets, every name linked again: one name per bucket on
// average.
void FilerNameIndex::grow() {
    const std::size_t buckets = std::max<std::size_t>(512, byLast_.heads.size() * 2);
    for (Chains* chains : {&byLast_, &byFull_, &byType_}) {
        chains->heads.assign(buckets, 0);
        std::fill(chains->next.begin(), chains->next.end(), 0);
    }
    byLast_.tails.assign(buckets, 0);
    byFull_.tails.assign(buckets, 0);
    std::array<std::string_view, kKeyValues> key;
    for (std::uint32_t entry = 0; entry < starts_.size(); ++entry) {
        text_.read(starts_[entry], key);
        linkByName(entry, key[at(Stored::Naml)], key[at(Stored::Namf)], key[at(Stored::NameType)]);
    }
}

IndexedName FilerNameIndex::decode(std::uint32_t entry) const {
    IndexedName name;
    const unsigned char flags = text_.read(starts_[entry], name.values);
    name.nullPlace = (flags & kNullPlace) != 0;
    name.nullStreet = (flags & kNullStreet) != 0;
    name.nullTitle = (flags & kNullTitle) != 0;
    name.sharedId = sharedIds_[entry];
    return name;
}

void FilerNameIndex::visitWithName(std::string_view naml, std::string_view namf,
                                   const std::function<bool(const IndexedName&)>& visit) const {
    if (starts_.empty()) {
        return;
    }
    const bool full = !namf.empty();
    const Chains& chains = full ? byFull_ : byLast_;
    const std::uint64_t hash = full ? fullNameHash(naml, namf) : foldedHash(naml);
    std::array<std::string_view, kKeyValues> key;
    for (std::uint32_t link = chains.heads[hash & (chains.heads.size() - 1)]; link != 0;
         link = chains.next[link - 1]) {
        text_.read(starts_[link - 1], key);
        if (db::equalsIgnoringAsciiCase(key[at(Stored::Naml)], naml) &&
            (!full || db::equalsIgnoringAsciiCase(key[at(Stored::Namf)], namf)) &&
            !visit(decode(link - 1))) {
            return;
        }
    }
}

bool FilerNameIndex::hasNameOfType(std::string_view naml, std::string_view namf,
                                   std::string_view type) const {
    if (starts_.empty()) {
        return false;
    }
    std::array<std::string_view, kKeyValues> key;
    for (std::uint32_t link = byType_.heads[typeHash(naml, type) & (byType_.heads.size() - 1)];
         link != 0; link = byType_.next[link - 1]) {
        text_.read(starts_[link - 1], key);
        if (key[at(Stored::NameType)] == type &&
            db::equalsIgnoringAsciiCase(key[at(Stored::Naml)], naml) &&
            (namf.empty() || db::equalsIgnoringAsciiCase(key[at(Stored::Namf)], namf))) {
            return true;
        }
    }
    return false;
}

std::vector<IndexedName> FilerNameIndex::withName(std::string_view naml,
                                                  std::string_view namf) const {
    std::vector<IndexedName> names;
    visitWithName(naml, namf, [&names](const IndexedName& name) {
        names.push_back(name);
        return true;
    });
    return names;
}

std::size_t FilerNameIndex::bytesUsed() const {
    return text_.bytesUsed() + starts_.capacity() * sizeof(staging::PackedText::Position) +
           sharedIds_.capacity() / 8 +
           (byLast_.heads.capacity() + byLast_.tails.capacity() + byLast_.next.capacity() +
            byFull_.heads.capacity() + byFull_.tails.capacity() + byFull_.next.capacity() +
            byType_.heads.capacity() + byType_.next.capacity()) *
               sizeof(std::uint32_t);
}

} // namespace dcf::names
