#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace dcf {

// The staged values of one DCF line. Fields are numbered as in the record:
// 1 is the type, 2 the record number, 3 the report number, 4 to 46 the data.
struct SplitLine {
    std::string recordType;             // the first four characters, e.g. "FLR," or "NAME"
    std::array<std::string, 47> fields; // [2] to [46]; [0] and [1] stay empty
    // False when the line holds fewer fields than its type needs; `problem`
    // then says why in a sentence for the log, and `fields` holds what was
    // read before the problem (fields 2 and 3 tell which record it was).
    bool complete = true;
    std::string problem;
    // Set by a filer line: its unquoted field 7 (the filer identifier) and its
    // field 10 (the record number of the filer's NAME line), as read.
    std::optional<std::string> filerId;
    std::optional<std::string> nameRecordNumber;
};

// Splits a UTF-8 line whose type reads `fieldCount` fields after the type
// (fields 2 to fieldCount + 1). Never throws for any input.
SplitLine splitDcfLine(std::string_view line, int fieldCount);

// The same, reusing the buffers of `out` from the previous line.
void splitDcfLine(std::string_view line, int fieldCount, SplitLine& out);

} // namespace dcf
