#include "names/resolved_name.h"

#include <algorithm>
#include <utility>

namespace dcf::names {
namespace {

void restore(std::string& value) {
    std::replace(value.begin(), value.end(), '*', ',');
}

// Each column the prefix and its name, beside its value.
void setPrefixedColumns(db::ColumnValues& row, std::string_view prefix,
                        const std::array<const char*, 5>& columns,
                        const std::array<const std::string*, 5>& values) {
    for (std::size_t i = 0; i < columns.size(); ++i) {
        row.set(prefix, columns[i], *values[i]);
    }
}

} // namespace

std::string roleCode(Role role) {
    return std::string(1, static_cast<char>(role));
}

ResolvedName resolvedName(staging::NameRecord record) {
    return {std::move(record.name), std::move(record.address), std::move(record.person),
            record.outOfStateCommittee ? "-1" : "0", std::move(record.outOfStateCommitteeId)};
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
    setPrefixedColumns(row, prefix, kNameColumns,
                       {&name.naml, &name.namf, &name.namt, &name.nams, &name.namn});
}

void setAddressColumns(db::ColumnValues& row, std::string_view prefix,
                       const staging::AddressParts& address) {
    setPrefixedColumns(row, prefix, kAddressColumns,
                       {&address.adr1, &address.adr2, &address.city, &address.stcd, &address.zip4});
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
