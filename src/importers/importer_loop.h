#pragma once

#include "app/run_context.h"
#include "staging/staged_row.h"

#include <functional>
#include <string>
#include <vector>

namespace dcf::importers {

// What one importer tells the shared loop: which staged rows, what to count
// and show, and how its error block names a row.
struct ImporterSetup {
    // The procedure named in error blocks: "ImportRCPT".
    std::string procedure;
    // Selects the keys of the rows to convert, in the importer's own order
    // and then by import_key; `recordType` is bound to its one parameter.
    std::string keyQuery;
    std::string recordType;
    // The imported count to raise per converted row ("RCPT") and its label
    // ("lblImpRcptCount"); empty when the importer keeps no count.
    std::string countType;
    std::string countLabel;
    // Status-bar panel 1 after each converted row.
    std::string statusText;
    // The lines between "Report # = " and "---- Error # " of the error block;
    // by default "Record Number = " and the current record number.
    std::function<std::vector<std::string>(const app::ConversionRun&)> identifyingLines;
    bool lineNumberInBlock = true;
    bool endAtFirstError = false;
    bool testCancel = true;
};

// Converts one staged row; returns true when a row was added to the target
// table (false when the record was rejected through WriteSevereErrorLog).
using ConvertRow = std::function<bool(app::RunContext&, const staging::StagedRow&)>;

// The loop every importer shares: walks a key snapshot of the selection,
// converts each row, counts and shows it, traps a failure per row (the row
// is marked "E" and the block written), yields, and answers a cancel.
// Returns false when the importer ended early (cancel or first error).
bool runImporter(app::RunContext& context, const ImporterSetup& setup, const ConvertRow& convert);

// The error block of an importer for the row being handled.
std::vector<std::string> importerErrorBlock(const app::ConversionRun& run,
                                            const ImporterSetup& setup,
                                            const std::string& errorNumber,
                                            const std::string& source,
                                            const std::string& description);

// Writes the block for a failure and counts it as unexpected. Called from
// the catch block; a lost connection is rethrown, since it ends the run.
void trapImporterError(app::RunContext& context, const ImporterSetup& setup,
                       const std::exception& error);

} // namespace dcf::importers
