#include "importers/schedule_rules.h"

#include "dcf/convert_date.h"
#include "importers/value_limits.h"
#include "names/check_dcf_names.h"

#include <stdexcept>

namespace dcf::importers {
namespace {

constexpr std::size_t kDescriptionLimit = 100;

} // namespace

db::Currency amountOf(const std::string& text) {
    const std::optional<db::Currency> amount = db::Currency::parse(text);
    if (!amount) {
        throw std::runtime_error("Amount '" + text + "' is not a number.");
    }
    return *amount;
}

std::string amountText(db::Currency amount) {
    std::string text = amount.toString();
    while (text.back() == '0') {
        text.pop_back();
    }
    if (text.back() == '.') {
        text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

DatedItem readDatedItem(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    DatedItem item{s.field(7), std::nullopt};
    row.item.date = s.field(8);
    if (const std::string staged = s.field(9); !staged.empty()) {
        item.amount = amountOf(staged);
        row.item.amount = amountText(*item.amount);
    }
    row.item.description = stagedField10(s);
    return item;
}

std::optional<RowOutcome> checkDatedItem(ImportRow& row, const DatedItem& item,
                                         const DatedItemMessages& messages) {
    if (item.nameId == "-1") {
        return RowOutcome::rejected(messages.nameIdMissing);
    }
    if (isEmptyQuoted(row.item.date)) {
        return RowOutcome::rejected(messages.dateMissing);
    }
    row.item.date = ConvertDate(row.item.date).text;
    if (!item.amount) {
        return RowOutcome::rejected(messages.amountMissing);
    }
    return std::nullopt;
}

std::string descriptionRule(ImportRow& row, std::string text, std::string_view label) {
    return run::cutToLimit(row, std::move(text), {label, kDescriptionLimit});
}

bool resolveScheduleName(ImportRow& row, const std::string& nameId, names::Role role) {
    std::optional<names::CheckedName> checked =
        names::CheckDCFNames(row.context(), row.importers().names, nameId, role, row);
    if (!checked) {
        return false;
    }
    row.nameId = std::move(checked->nameId);
    row.resolved = std::move(checked->name);
    return true;
}

const CoverSheetItemization& readCoverSheetItemization(ImportRow& row) {
    return readCoverSheetItemization(row.db(), row.importers().itemizations,
                                     row.staged().text("repno"));
}

db::ColumnValues reportRow(ImportRow& row) {
    db::ColumnValues values;
    values.set("filer_id", row.run().filer.id).set("repno", row.staged().text("repno"));
    return values;
}

void insertTargetRow(ImportRow& row, const db::ColumnValues& values) {
    values.insertInto(row.db(), row.type()->targetTable);
}

std::string withResolvedName(std::string_view prefix, const ImportRow& row) {
    std::string text(prefix);
    text += row.resolved.name.namf;
    text += ' ';
    text += row.resolved.name.naml;
    return text;
}

std::string creditStatus(const ImportRow& row) {
    return withResolvedName("Added Credit record(s) for ", row);
}

std::vector<std::string> backReferenceLines(const ImportRow& row) {
    return {"BackRefId = " + row.item.backReference,
            "Record Number = " + std::string(row.recordNumber())};
}

} // namespace dcf::importers
