#pragma once

#include "db/value.h"
#include "importers/importer_description.h"
#include "importers/value_limits.h"
#include "names/check_dcf_names.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dcf::importers {

// What the schedule importers share: the working values of the row, the name
// resolution, the entity code, the description rule, the cover sheet's
// itemization rule and the add of the target row.

// Starts a schedule row: its working values and resolved name are emptied,
// so that an error block never shows a value of the row before. Returns the
// working values to fill as the row is read.
run::ScheduleItem& beginScheduleRow(ImportRow& row);

// The amount of a staged field; throws when the text is not a number, which
// the importer's error block reports.
db::Currency amountOf(const std::string& text);
// An amount as the error blocks show it: "12.5", "100", "-0.99".
std::string amountText(db::Currency amount);

// A contribution, expenditure or credit as read before its checks: its name
// id (field 7) and its amount (field 9, converted when it is not empty: text
// that is no number throws); its date (field 8) and description are in the
// working values.
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
std::string descriptionRule(ImportRow& row, const std::string& text, std::string_view label);

// The name resolution: the name id and role code go to CheckDCFNames;
// afterwards the current name id is the one to store and the resolved name
// holds the name. A missing name was already logged and its row marked.
names::NameLookup resolveScheduleName(ImportRow& row, const std::string& nameId,
                                      const char* roleCode);

// "E" (entity) when the resolved first name is empty, otherwise "I".
std::string entityCode(const run::ResolvedName& name);

// What a report's cover sheet says about itemizing its items.
using run::CoverSheetItemization;
const CoverSheetItemization& readCoverSheetItemization(ImportRow& row, const std::string& report);

// The name and address columns of a target row (naml, namf, namt, nams, namn,
// adr1, adr2, city, stcd, zip4), then those of a person (employer, occup,
// job_title, spous_emp, parent1, parent2).
void appendNameAndAddress(std::vector<db::Value>& values, const run::ResolvedName& name);
void appendPersonDetails(std::vector<db::Value>& values, const run::ResolvedName& name);

// "insert into TABLE (columns) values (?, ...)".
std::string insertSql(std::string_view table, std::initializer_list<const char*> columns);
// Adds one target row with its values in the order of the statement's columns.
void insertRow(db::Connection& db, const std::string& sql, const std::vector<db::Value>& values);

// The prefix, the resolved first name, one space and the resolved last name:
// the status text after an added row, and the name line of an error block.
std::string withResolvedName(std::string_view prefix, const run::ConversionRun& run);

} // namespace dcf::importers
