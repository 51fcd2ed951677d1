#pragma once

#include "importers/importer_description.h"

namespace dcf::importers {

// How an importer ended.
enum class ImporterEnd {
    Completed,    // every selected row was handled
    Cancelled,    // the user's Cancel was seen between rows
    Stopped,      // a row or the check before the first row stopped the run
    EndedAtError, // a row failed and the importer ends at its first error
};

// What an importer did, row by row.
struct ImporterResult {
    ImporterEnd end = ImporterEnd::Completed;
    int added = 0;
    int addedWithWarnings = 0; // also counted in added
    int rejected = 0;
    int skipped = 0;
    int failed = 0;
};

// The loop every importer shares. It takes the keys of the selected rows
// once, then for each row: reads it, calls the conversion, and acts on its
// outcome (counts an added row and shows the count and the status text;
// logs a rejection and marks the row "E"; shows the message of a stop and
// sets the cancel-request flag). A row that throws
// is counted as an unexpected error, marked "E" and logged with the
// importer's block, unless the failure ended the run's transaction, which
// ends the run (rethrown). Between rows it yields and watches for Cancel.
//
// A cancel or a stop is reported, never acted on: the driver rolls the run
// back.
ImporterResult runImporter(ImporterContext& importers, const ImporterDescription& importer);

} // namespace dcf::importers
