#pragma once

#include "importers/import_row.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dcf::importers {

// What became of one staged row, as its conversion tells the importer frame.
class RowOutcome {
public:
    enum class Kind {
        Added,    // a row was added to the target table
        Rejected, // not converted: the message goes to the log, the row is marked "E"
        Refused,  // not converted: a check it called already logged why and marked the row
        Skipped,  // passed over without a word: no row, no entry, no count
        StopRun,  // the conversion must not go on: the message is shown, the run cancelled
    };

    static RowOutcome added() { return RowOutcome(Kind::Added, {}); }
    static RowOutcome rejected(std::string message) {
        return RowOutcome(Kind::Rejected, std::move(message));
    }
    static RowOutcome refused() { return RowOutcome(Kind::Refused, {}); }
    static RowOutcome skipped() { return RowOutcome(Kind::Skipped, {}); }
    static RowOutcome stopRun(std::string message) {
        return RowOutcome(Kind::StopRun, std::move(message));
    }

    [[nodiscard]] Kind kind() const { return kind_; }
    [[nodiscard]] const std::string& message() const { return message_; }

private:
    RowOutcome(Kind kind, std::string message) : kind_(kind), message_(std::move(message)) {}
    Kind kind_;
    std::string message_;
};

// Converts one staged row.
using ConvertRow = RowOutcome (*)(ImportRow& row);
// Runs once before the first row, with the number of rows selected: returns
// the message of a run that must stop instead, or nothing.
using BeforeFirstRow = std::optional<std::string> (*)(ImporterContext& importers, std::size_t rows);
// Runs once after the last row, when every row was walked.
using AfterLastRow = void (*)(ImporterContext& importers);
// The text of status-bar panel 1 after a row was added.
using StatusText = std::string (*)(const ImportRow& row);
// The lines of an error block between "Report # = " and the error lines.
using IdentifyingLines = std::vector<std::string> (*)(const ImportRow& row);

// The last line of an error block: the number of DCF lines read.
enum class LineNumberLine {
    None,
    Capital,   // "---- Error On line # "
    LowerCase, // "---- Error on line # "
};

// One importer: everything the frame needs to walk its staged rows, count
// and show them, and write the block of a row that fails. An importer is one
// constant of this type and its row conversion; the frame holds the loop.
struct ImporterDescription {
    // The procedure its error blocks name: "ImportRCPT".
    const char* procedure = nullptr;
    // The record types it converts, by name ({"RCPT", "PLDG"}); it runs when
    // any of them was staged, or always.
    std::array<const char*, 2> recordTypes{};
    bool runsWithoutRows = false;
    // The selection's own order before staging order ("repno, rec_num");
    // nullptr for staging order alone.
    const char* orderBy = nullptr;
    // lblProcessingMessage while it runs; nullptr leaves it as it is.
    const char* processingMessage = nullptr;
    BeforeFirstRow beforeFirstRow = nullptr;
    ConvertRow convert = nullptr;
    AfterLastRow afterLastRow = nullptr;
    // The record type whose imported count rises with every added row (the
    // record-type table gives its label, if any); nullptr keeps no count.
    const char* countType = nullptr;
    // nullptr leaves the status bar as it is.
    StatusText statusText = nullptr;

    // The error block of a row that fails:
    // the type inside "Record Type = '...'", which need not be the staged
    // type ('FLR' for "FLR,", 'RCPT' for pledges too, 'ASSET' for ASSE);
    const char* blockRecordType = nullptr;
    // the staging column its "Report # = " line shows (the cover sheet's
    // own number is its rec_num);
    const char* reportNumberColumn = "repno";
    // nullptr: "Record Number = " and the row's record number;
    IdentifyingLines identifyingLines = nullptr;
    bool errorNumberLine = true;
    LineNumberLine lineNumberLine = LineNumberLine::None;
    // "-----Error will be Logged to this Error File: " and the log's path, last.
    bool logPathLine = false;

    // After a row fails, end the importer instead of going on.
    bool endAtFirstError = false;
    // Between rows, answer the user's Cancel.
    bool testCancel = true;
};

} // namespace dcf::importers
