#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace dcf::staging {

// A name as the filing tables keep it: last, first, title, suffix, nickname.
struct NameParts {
    std::string naml, namf, namt, nams, namn;
};

// An address: two lines, city, state code, zip code.
struct AddressParts {
    std::string adr1, adr2, city, stcd, zip4;
};

// What the filing tables keep of a person besides name and address.
struct PersonDetails {
    std::string employer, occup, jobTitle, spousEmp, parent1, parent2;
};

// A staged NAME record, read by what its fields mean: the one place that
// knows which field holds what.
struct NameRecord {
    NameParts name;                    // fields 7 to 11
    AddressParts address;              // fields 12 to 16
    std::string phone;                 // field 17
    std::string phoneExtension;        // field 18
    PersonDetails person;              // fields 19 and 21 to 25
    std::string outOfStateCommitteeId; // field 26
    bool outOfStateCommittee = false;  // field 29 is "Y"
    // A treasurer's mailing address: fields 30 to 34, the zip code (33)
    // before the state code (34).
    AddressParts mailing;
};

// A NAME record is read from fields 7 to 34.
inline constexpr int kNameRecordFirstField = 7;
inline constexpr std::size_t kNameRecordFields = 28;

// The staging columns a NAME record is read from, for a selection:
// "field7, field8, ..., field34".
const std::string& nameRecordColumns();

// The record whose field N (7 to 34) `field` gives.
NameRecord nameRecordFromFields(const std::function<std::string(int)>& field);

} // namespace dcf::staging
