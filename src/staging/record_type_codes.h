#pragma once

#include "db/statement.h"
#include "dcf/record_types.h"

#include <cstddef>
#include <string>

namespace dcf::staging {

// The codes of the record types the table says `keep` to, as a list of
// values to bind: SQL on IMPORTTEMP names record types only through these,
// never as literals.
template <typename Keep> db::Values codesOf(Keep keep) {
    db::Values codes;
    for (const RecordType& type : allRecordTypes()) {
        if (keep(type)) {
            codes.emplace_back(std::string(type.code));
        }
    }
    return codes;
}

inline db::Values codeOf(const RecordType& type) {
    return {db::Value(std::string(type.code))};
}

// "?, ?, ?" for n parameters.
inline std::string parameterMarks(std::size_t n) {
    std::string marks;
    for (std::size_t i = 0; i < n; ++i) {
        marks += i == 0 ? "?" : ", ?";
    }
    return marks;
}

} // namespace dcf::staging
