#pragma once

#include "db/connection.h"
#include "staging/dcf_splitter.h"

#include <array>
#include <optional>
#include <string>

namespace dcf::staging {

// The longest value field7 and field10 hold; a longer one goes to Memo where
// the record type allows.
inline constexpr std::size_t kShortFieldLength = 255;

// One IMPORTTEMP row as it is written.
struct StagingRow {
    std::string filerId;
    std::string recordType;
    std::string recordNumber;
    std::string reportNumber;
    std::array<std::string, 47> fields; // [4] to [46]
    std::optional<std::string> memo;
    // Set when the row cannot be written; says why, for the log.
    std::string problem;
};

// Applies the long-value rule: a TEXT or CORR field7, and any field10, of
// 256 characters or more moves to Memo and leaves its field empty (Memo holds
// field10 when both move). Any other field7 over 255 characters does not fit.
StagingRow stagingRow(const SplitLine& split, const std::string& filerId);

// Adds the row with status "I"; throws db::DbError when the database refuses.
void insertStagingRow(db::Connection& connection, const StagingRow& row);

} // namespace dcf::staging
