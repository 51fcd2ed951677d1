#pragma once

#include "importers/importer_description.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace dcf::importers {

// A value longer than its column allows is cut to its first `limit`
// characters and the row is converted with a warning:
// "<label> field is longer than the <limit> characters allowed. Field
// truncated in <place> from '<value>' to '<cut>'".
std::string cutToLimit(ImportRow& row, const std::string& value, std::size_t limit,
                       std::string_view label, std::string_view place);

// The place of a schedule item in those warnings: "'CVR3' record Item Id 61".
std::string itemPlace(const run::ConversionRun& run);

// The place cover-sheet values, and the offices of a candidate, name.
inline constexpr std::string_view kFormRecord = "FORM record";

// An empty quoted DCF field, which staging keeps as the two quotes: a date
// written so is missing, a text written so is none.
bool isEmptyQuoted(std::string_view staged);

// The text of a TEXT or CORR record: Memo when staging moved a long field 7
// there, otherwise field 7; an empty quoted field 7 is no text.
std::string stagedText(const staging::StagedRow& staged);

// The staged field 10, read from Memo when staging moved a long value there.
std::string stagedField10(const staging::StagedRow& staged);

} // namespace dcf::importers
