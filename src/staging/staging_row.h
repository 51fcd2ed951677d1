#pragma once

#include "dcf/dcf_splitter.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace dcf::staging {

// The longest value field7 and field10 hold; a longer one goes to Memo where
// the record type allows.
inline constexpr std::size_t kShortFieldLength = 255;

// Where the long values of a split line go: a TEXT or CORR field7, and any
// field10, of 256 characters or more moves to Memo and leaves its field
// empty (Memo holds field10 when both move). Any other field7 over 255
// characters does not fit, and `problem` says so for the log.
struct LongValues {
    bool field7ToMemo = false;
    bool field10ToMemo = false;
    std::string problem;
};

LongValues placeLongValues(const SplitLine& split);

// IMPORTTEMP's columns but its key, in table order: filer_id, rec_type,
// rec_num, repno, Status, field4 to field46, Memo.
const std::vector<std::string>& importTempColumns();

// One IMPORTTEMP row as it is written, for callers that keep rows.
struct StagingRow {
    std::string filerId;
    std::string recordType;
    std::string recordNumber;
    std::string reportNumber;
    std::array<std::string, 47> fields; // [4] to [46]
    std::optional<std::string> memo;
    std::string problem;
};

StagingRow stagingRow(const SplitLine& split, const std::string& filerId);

} // namespace dcf::staging
