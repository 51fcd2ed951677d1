#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace dcf {

// Everything the program knows of one kind of DCF line, kept once: the
// staging pass, the count summary, the window's counters, the batch front
// end and the importer chain all read it here.
struct RecordType {
    // How counts, the summary and the batch front end name the type: "FLR".
    std::string_view name;
    // The first four characters of its lines: "FLR," for the three-letter
    // types, otherwise the name.
    std::string_view code;
    // Fields after the type: fields 2 to fieldCount + 1 are read.
    int fieldCount;
    // False for the header, which is counted but never staged.
    bool staged;
    // The end of its line in the count summary (" Filer(s)"); empty for the
    // types the summary leaves out. The summary lists the types in the
    // table's order.
    std::string_view summaryCaption;
    // The window's counters of the type: lines staged, rows imported.
    // nullptr where the window has none.
    const char* stagedLabel;
    const char* importedLabel;
    // The caption of its row of counters and the row's place (1 the first
    // row under "Records Processed:"); 0 for no row.
    std::string_view rowCaption;
    int windowRow;
};

// How many types there are.
inline constexpr std::size_t kRecordTypeCount = 19;

// Every known type, the header first and then in the order of the summary.
std::span<const RecordType> allRecordTypes();

// The types that have a row of counters in the window, in the rows' order.
std::span<const RecordType* const> windowRows();

// The type whose code equals the first four characters of the line,
// compared exactly (case matters); nullptr for a line of no known type.
const RecordType* findRecordType(std::string_view line);

// The type of this name ("FLR", "NAME", ...); nullptr for none.
const RecordType* recordTypeNamed(std::string_view name);

// The type's place in allRecordTypes(): an index for per-type counts.
std::size_t recordTypeIndex(const RecordType& type);

} // namespace dcf
