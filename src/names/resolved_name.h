#pragma once

#include "db/column_values.h"
#include "staging/name_record.h"

#include <array>
#include <string>
#include <string_view>

namespace dcf::names {

// The role a schedule record's name plays, stored as the name's type.
enum class Role : char {
    Contributor = 'C',
    Payee = 'P',
    Lender = 'L', // a lender or a creditor
    Guarantor = 'G',
};

// The role's letter: "C", "P", "L" or "G".
std::string roleCode(Role role);

// The name values of one record's name: as the file's NAME record gives
// them, then as names stores them.
struct ResolvedName {
    staging::NameParts name;
    staging::AddressParts address;
    staging::PersonDetails person;
    // The out-of-state committee flag ("-1" yes, "0" no) and its id.
    std::string osPacCb = "0";
    std::string osPacFec;
};

// The values of a staged NAME record.
ResolvedName resolvedName(staging::NameRecord record);

// The entity code of a name: "E" (an entity) without a first name,
// otherwise "I" (an individual).
std::string entityCode(const staging::NameParts& name);

// The file writes a comma inside a field as "*": the values a name keeps
// get their commas back (not the title, the state code or the zip code).
void restoreCommas(staging::NameParts& name);
void restoreCommas(staging::AddressParts& address);
void restoreCommas(ResolvedName& name);

// The column names of a name's and an address's values, in their order.
inline constexpr std::array<const char*, 5> kNameColumns = {"naml", "namf", "namt", "nams", "namn"};
inline constexpr std::array<const char*, 5> kAddressColumns = {"adr1", "adr2", "city", "stcd",
                                                               "zip4"};

// A name's or an address's columns of a target row, each column the prefix
// and the value's own name: "ctrib_" gives ctrib_naml, ..., ctrib_namn, and
// ctrib_adr1, ..., ctrib_zip4.
void setNameColumns(db::ColumnValues& row, std::string_view prefix, const staging::NameParts& name);
void setAddressColumns(db::ColumnValues& row, std::string_view prefix,
                       const staging::AddressParts& address);

// The columns a target table keeps a person's details in.
struct PersonColumns {
    const char* employer;
    const char* occup;
    const char* jobTitle;
    const char* spousEmp;
    const char* parent1;
    const char* parent2;
};
inline constexpr PersonColumns kPersonColumns{"employer",  "occup",   "job_title",
                                              "spous_emp", "parent1", "parent2"};
void setPersonColumns(db::ColumnValues& row, const PersonColumns& columns,
                      const staging::PersonDetails& person);

} // namespace dcf::names
