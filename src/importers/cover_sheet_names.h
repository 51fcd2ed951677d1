#pragma once

#include "importers/import_row.h"

#include <optional>
#include <string>

namespace dcf::importers {

// A cover-sheet value read as a number; nothing when it is not one.
std::optional<double> asNumber(const std::string& text);

// The cover sheet's filer: the NAME record it names becomes the filer set of
// the cover sheets. Throws when the file has no such record.
void readCoverSheetFiler(ImportRow& row, const std::string& filerReference);

// The cover sheet's treasurer and mailing address, when it names one; a
// report that names none (reference 0) keeps the previous report's. Returns
// whether a treasurer was read, so that the filer's row is refreshed.
bool readCoverSheetTreasurer(ImportRow& row, const std::string& treasurerReference);

// The filer's row in FILERS takes the treasurer of the report, when the
// filer has exactly one row.
void refreshFilerTreasurer(ImportRow& row);

} // namespace dcf::importers
