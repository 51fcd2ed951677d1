#include "names/resolved_name.h"

#include <algorithm>

namespace dcf::names {
namespace {

void restore(std::string& value) {
    std::replace(value.begin(), value.end(), '*', ',');
}

} // namespace

std::string roleCode(Role role) {
    return std::string(1, static_cast<char>(role));
}

ResolvedName resolvedName(const staging::NameRecord& record) {
    return {record.name, record.address, record.person, record.outOfStateCommittee ? "-1" : "0",
            record.outOfStateCommitteeId};
}

std::string entityCode(const staging::NameParts& name) {
    return name.namf.empty() ? "E" : "I";
}

void restoreCommas(staging::NameParts& name) {
    for (std::string* value : {&name.naml, &name.namf, &name.nams, &name.namn}) {
        restore(*value);
    }
}

void restoreCommas(staging::AddressParts& address) {
    for (std::string* value : {&address.adr1, &address.adr2, &address.city}) {
        restore(*value);
    }
}

void restoreCommas(ResolvedName& name) {
    restoreCommas(name.name);
    restoreCommas(name.address);
    staging::PersonDetails& p = name.person;
    for (std::string* value :
         {&p.occup, &p.employer, &p.jobTitle, &p.spousEmp, &p.parent1, &p.parent2}) {
        restore(*value);
    }
}

void setNameColumns(db::ColumnValues& row, std::string_view prefix,
                    const staging::NameParts& name) {
    const std::array<const std::string*, 5> values = {&name.naml, &name.namf, &name.namt,
                                                      &name.nams, &name.namn};
    for (std::size_t i = 0; i < values.size(); ++i) {
        row.set(std::string(prefix) + kNameColumns[i], *values[i]);
    }
}

void setAddressColumns(db::ColumnValues& row, std::string_view prefix,
                       const staging::AddressParts& address) {
    const std::array<const std::string*, 5> values = {&address.adr1, &address.adr2, &address.city,
                                                      &address.stcd, &address.zip4};
    for (std::size_t i = 0; i < values.size(); ++i) {
        row.set(std::string(prefix) + kAddressColumns[i], *values[i]);
    }
}

void setPersonColumns(db::ColumnValues& row, const PersonColumns& columns,
                      const staging::PersonDetails& person) {
    row.set(columns.employer, person.employer)
        .set(columns.occup, person.occup)
        .set(columns.jobTitle, person.jobTitle)
        .set(columns.spousEmp, person.spousEmp)
        .set(columns.parent1, person.parent1)
        .set(columns.parent2, person.parent2);
}

} // namespace dcf::names
