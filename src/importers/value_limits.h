#pragma once

#include "db/value.h"
#include "dcf/convert_date.h"
#include "run/field_limit.h"
#include "staging/staged_row.h"

#include <optional>
#include <string>
#include <string_view>

namespace dcf::importers {

// The place cover-sheet values, and the offices of a candidate, name.
inline constexpr std::string_view kFormRecord = "FORM record";

// The offices a cover sheet and a candidate name.
inline constexpr run::FieldLimit kOfficeHeldName{"Office Held Name", 30};
inline constexpr run::FieldLimit kOfficeHeldNumber{"Office Held Number", 4};
inline constexpr run::FieldLimit kOfficeSoughtName{"Office Sought Name", 30};
inline constexpr run::FieldLimit kOfficeSoughtNumber{"Office Sought Number", 4};

// An empty quoted DCF field, which staging keeps as the two quotes: a date
// written so is missing, a text written so is none.
bool isEmptyQuoted(std::string_view staged);

// A date the file may leave empty (the empty quoted field): nothing then,
// otherwise the date converted.
std::optional<ConvertedDate> optionalDate(const std::string& staged);
// Such a date as a column's value: null when the file left it empty.
db::Value dateValue(const std::optional<ConvertedDate>& date);

// The text of a TEXT or CORR record: Memo when staging moved a long field 7
// there, otherwise field 7; an empty quoted field 7 is no text.
std::string stagedText(const staging::StagedRow& staged);

// The staged field 10, read from Memo when staging moved a long value there.
std::string stagedField10(const staging::StagedRow& staged);

} // namespace dcf::importers
