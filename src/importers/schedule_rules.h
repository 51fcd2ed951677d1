#pragma once

#include "db/column_values.h"
#include "db/value.h"
#include "importers/importer_description.h"
#include "importers/report_itemization.h"
#include "names/resolved_name.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dcf::importers {

// What the importers share: amounts, the checks and the description rule of
// a dated item, the name resolution, the cover sheet's itemization rule, the
// target row and the texts that show a row.

// The amount of a staged field; throws when the text is not a number, which
// the importer's error block reports.
db::Currency amountOf(const std::string& text);
// An amount as the error blocks show it: "12.5", "100", "-0.99".
std::string amountText(db::Currency amount);

// A contribution, expenditure or credit as read before its checks: its name
// id (field 7) and its amount (field 9, converted when it is not empty: text
// that is no number throws); its date (field 8) and description (field 10)
// go to the row's working values.
struct DatedItem {
    std::string nameId;
    std::optional<db::Currency> amount;
};
DatedItem readDatedItem(ImportRow& row);

// What each check of a dated item rejects it with.
struct DatedItemMessages {
    const char* nameIdMissing;
    const char* dateMissing;
    const char* amountMissing;
};

// The checks of a dated item, in their order: a name id of "-1", a date that
// is the empty quoted field (otherwise the working date is converted), an
// empty amount. Returns the rejection of the first that fails.
std::optional<RowOutcome> checkDatedItem(ImportRow& row, const DatedItem& item,
                                         const DatedItemMessages& messages);

// The description rule: a text longer than 100 characters is cut to its
// first 100, with a warning that begins with `label` ("Contribution/Pledge
// description") and names the record type and item id.
std::string descriptionRule(ImportRow& row, std::string text, std::string_view label);

// The name resolution: the row's name id becomes the id to store and its
// resolved name the name as stored. False for a name the file does not
// have, already logged and its row marked.
bool resolveScheduleName(ImportRow& row, const std::string& nameId, names::Role role);

// What the row's report's cover sheet says about itemizing its items.
const CoverSheetItemization& readCoverSheetItemization(ImportRow& row);

// The first columns of a row of the report: filer_id and repno.
db::ColumnValues reportRow(ImportRow& row);
// Adds the row to its record type's target table.
void insertTargetRow(ImportRow& row, const db::ColumnValues& values);

// The prefix, the resolved first name, one space and the resolved last name:
// the status text after an added row, and the name line of an error block.
std::string withResolvedName(std::string_view prefix, const ImportRow& row);

// What a credit or debt shows in the status bar once added.
std::string creditStatus(const ImportRow& row);
// The identifying lines of a loan's or a guarantor's error block.
std::vector<std::string> backReferenceLines(const ImportRow& row);

} // namespace dcf::importers
