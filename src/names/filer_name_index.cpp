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

enum Flag : unsigned char { kNullPlace = 1, kNullStreet = 2, kNullTitle = 4, kShadowed = 8 };

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
        "names where filer_id = ? order by name_id";
    return sql;
}

} // namespace

void FilerNameIndex::clear() {
    text_ = {};
    starts_.clear();
    byLast_ = {};
    byFull_ = {};
}

void FilerNameIndex::loadFor(db::Connection& db, const std::string& filerId) {
    if (loaded_ && filerId_ == filerId) {
        return;
    }
    clear();
    // In id order, so that of two names with one id the one a lookup of the
    // id finds comes first.
    db::Cursor rows(db, loadSql(), filerId);
    std::array<std::string, kStoredValues> texts;
    std::string lastId;
    while (rows.next()) {
        db::Statement& row = rows.row();
        const bool shadowed = !starts_.empty() && row.text("name_id") == lastId;
        lastId = row.text("name_id");
        // A null last name equals no name searched for.
        if (isNull(row, Stored::Naml)) {
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
        name.shadowed = shadowed;
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
    const auto flags = static_cast<unsigned char>(
        (name.nullPlace ? kNullPlace : 0) | (name.nullStreet ? kNullStreet : 0) |
        (name.nullTitle ? kNullTitle : 0) | (name.shadowed ? kShadowed : 0));
    starts_.push_back(text_.add(name.values, flags));
    byLast_.next.push_back(0);
    byFull_.next.push_back(0);
    if (starts_.size() > byLast_.heads.size()) {
        grow();
    } else {
        linkByName(entry, name[Stored::Naml], name[Stored::Namf]);
    }
}

void FilerNameIndex::link(Chains& chains, std::uint32_t entry, std::uint64_t hash) {
    std::uint32_t& head = chains.heads[hash & (chains.heads.size() - 1)];
    chains.next[entry] = head;
    head = entry + 1;
}

void FilerNameIndex::linkByName(std::uint32_t entry, std::string_view naml, std::string_view namf) {
    link(byLast_, entry, foldedHash(naml));
    // A search with a first name never finds a name without one.
    if (!namf.empty()) {
        link(byFull_, entry, fullNameHash(naml, namf));
    }
}

// Twice the buckets, every name linked again: at most one name per bucket
// on average.
void FilerNameIndex::grow() {
    const std::size_t buckets = std::max<std::size_t>(1024, byLast_.heads.size() * 2);
    for (Chains* chains : {&byLast_, &byFull_}) {
        chains->heads.assign(buckets, 0);
        std::fill(chains->next.begin(), chains->next.end(), 0);
    }
    std::array<std::string_view, kKeyValues> key;
    for (std::uint32_t entry = 0; entry < starts_.size(); ++entry) {
        text_.read(starts_[entry], key);
        linkByName(entry, key[at(Stored::Naml)], key[at(Stored::Namf)]);
    }
}

IndexedName FilerNameIndex::decode(std::uint32_t entry) const {
    IndexedName name;
    const unsigned char flags = text_.read(starts_[entry], name.values);
    name.nullPlace = (flags & kNullPlace) != 0;
    name.nullStreet = (flags & kNullStreet) != 0;
    name.nullTitle = (flags & kNullTitle) != 0;
    name.shadowed = (flags & kShadowed) != 0;
    return name;
}

std::vector<IndexedName> FilerNameIndex::withName(std::string_view naml,
                                                  std::string_view namf) const {
    std::vector<std::pair<std::uint32_t, IndexedName>> found;
    if (!starts_.empty()) {
        const bool full = !namf.empty();
        const Chains& chains = full ? byFull_ : byLast_;
        const std::uint64_t hash = full ? fullNameHash(naml, namf) : foldedHash(naml);
        std::array<std::string_view, kKeyValues> key;
        for (std::uint32_t link = chains.heads[hash & (chains.heads.size() - 1)]; link != 0;
             link = chains.next[link - 1]) {
            text_.read(starts_[link - 1], key);
            if (db::equalsIgnoringAsciiCase(key[at(Stored::Naml)], naml) &&
                (!full || db::equalsIgnoringAsciiCase(key[at(Stored::Namf)], namf))) {
                found.emplace_back(link - 1, decode(link - 1));
            }
        }
    }
    // By id as the database orders them; of equal ids the first read first.
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        const std::string_view idA = a.second[Stored::NameId];
        const std::string_view idB = b.second[Stored::NameId];
        const std::size_t lengthA = characters(idA);
        const std::size_t lengthB = characters(idB);
        if (lengthA != lengthB) {
            return lengthA < lengthB;
        }
        if (idA != idB) {
            return idA < idB;
        }
        return a.first < b.first;
    });
    std::vector<IndexedName> names;
    names.reserve(found.size());
    for (const auto& [entry, name] : found) {
        names.push_back(name);
    }
    return names;
}

std::size_t FilerNameIndex::bytesUsed() const {
    return text_.bytesUsed() + starts_.capacity() * sizeof(staging::PackedText::Position) +
           (byLast_.heads.capacity() + byLast_.next.capacity() + byFull_.heads.capacity() +
            byFull_.next.capacity()) *
               sizeof(std::uint32_t);
}

} // namespace dcf::names
