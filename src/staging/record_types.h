#pragma once

#include <span>
#include <string_view>

namespace dcf::staging {

// One kind of DCF line. The code is the line's first four characters; for the
// three-letter types it includes the comma ("FLR,", "HDR,"). fieldCount is the
// number of fields after the type, so fields 2 to fieldCount + 1 are read.
struct RecordType {
    std::string_view code;
    int fieldCount;
    bool staged; // false for the header, which is counted but never staged
};

// The type whose code equals the first four characters of the line, compared
// exactly (case matters); nullptr for a line of no known type.
const RecordType* findRecordType(std::string_view line);

// Every known type, in lookup order.
std::span<const RecordType> allRecordTypes();

} // namespace dcf::staging
