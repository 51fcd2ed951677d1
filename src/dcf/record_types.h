#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace dcf {

// How the staged rows of a type belong to a report: by their repno, which
// takes the report's number in the database once its cover sheet is in.
enum class ReportLink {
    None,    // the header, the filer, the names and the cover sheets themselves
    Row,     // a row of the report
    Summary, // a summary line, whose move also marks it "S"
};

// Everything the program knows of one kind of DCF line, kept once: the
// staging pass, the renumbering of names and reports, the count summary, the
// window's counters, the batch front end and the importer chain all read it
// here.
struct RecordType {
    // How counts, the summary and the batch front end name the type: "FLR".
    std::string_view name;
    // The first four characters of its lines, as staged in rec_type: "FLR,"
    // for the three-letter types, otherwise the name.
    std::string_view code;
    // Fields after the type: fields 2 to fieldCount + 1 are read.
    int fieldCount = 0;
    // False for the header, which is counted but never staged.
    bool staged = true;

    // Field 7 holds the file number of a NAME record (a contributor, a
    // payee, ...), which the renumbering of the names rewrites.
    bool nameInField7 = false;
    // Field 7 is a text of any length: staging keeps one of 256 characters or
    // more in Memo instead.
    bool longTextInField7 = false;
    // Other fields that hold a NAME record's number; 0 for none.
    std::array<int, 2> moreNameFields{};
    // Whether its rows move with their report's number.
    ReportLink reportLink = ReportLink::None;
    // Its record number becomes a number of the database (a name id, a
    // report number) before the schedules are converted.
    bool databaseNumbered = false;
    // The table its rows are converted into; empty for the header.
    std::string_view targetTable{};

    // The end of its line in the count summary (" Filer(s)"); empty for the
    // types the summary leaves out. The summary lists the types in the
    // table's order.
    std::string_view summaryCaption{};
    // The window's counters of the type: lines staged, rows imported.
    // nullptr where the window has none.
    const char* stagedLabel = nullptr;
    const char* importedLabel = nullptr;
    // The caption of its row of counters and the row's place (1 the first
    // row under "Records Processed:"); 0 for no row.
    std::string_view rowCaption{};
    int windowRow = 0;
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
// The same for a name the program itself writes: throws for an unknown one.
const RecordType& recordType(std::string_view name);

// The type's place in allRecordTypes(): an index for per-type counts.
std::size_t recordTypeIndex(const RecordType& type);

} // namespace dcf
