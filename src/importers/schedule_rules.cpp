#include "importers/schedule_rules.h"

#include "dcf/convert_date.h"
#include "importers/value_limits.h"

#include <stdexcept>

namespace dcf::importers {
namespace {

constexpr std::size_t kDescriptionLimit = 100;

} // namespace

run::ScheduleItem& beginScheduleRow(ImportRow& row) {
    run::ConversionRun& run = row.run();
    run.scheduleItem = run::ScheduleItem{};
    run.resolvedName = run::ResolvedName{};
    run.currentNameId.clear();
    return run.scheduleItem;
}

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
    run::ScheduleItem& working = row.run().scheduleItem;
    DatedItem item{s.field(7), std::nullopt};
    working.date = s.field(8);
    if (const std::string staged = s.field(9); !staged.empty()) {
        item.amount = amountOf(staged);
        working.amount = amountText(*item.amount);
    }
    working.description = stagedField10(s);
    return item;
}

std::optional<RowOutcome> checkDatedItem(ImportRow& row, const DatedItem& item,
                                         const DatedItemMessages& messages) {
    run::ConversionRun& run = row.run();
    if (item.nameId == "-1") {
        return RowOutcome::rejected(messages.nameIdMissing);
    }
    if (isEmptyQuoted(run.scheduleItem.date)) {
        return RowOutcome::rejected(messages.dateMissing);
    }
    run.scheduleItem.date = ConvertDate(run.scheduleItem.date, run.recordError);
    if (!item.amount) {
        return RowOutcome::rejected(messages.amountMissing);
    }
    return std::nullopt;
}

std::string descriptionRule(ImportRow& row, const std::string& text, std::string_view label) {
    return cutToLimit(row, text, kDescriptionLimit, label, itemPlace(row.run()));
}

names::NameLookup resolveScheduleName(ImportRow& row, const std::string& nameId,
                                      const char* roleCode) {
    run::ConversionRun& run = row.run();
    run.currentNameId = nameId;
    run.roleCode = roleCode;
    return names::CheckDCFNames(row.context(), row);
}

std::string entityCode(const run::ResolvedName& name) {
    return name.namf.empty() ? "E" : "I";
}

const CoverSheetItemization& readCoverSheetItemization(ImportRow& row, const std::string& report) {
    run::CoverSheetState& state = row.run().coverSheet;
    CoverSheetItemization& cover = state.itemization;
    // A report not found is looked up again: its row could be anyone's.
    if (state.itemizedReport == report && cover.found) {
        return cover;
    }
    db::Statement& select =
        row.db().statement("select form_type, filed_yn, itemize_all from cvr where repno = ?");
    select.run(report);
    state.itemizedReport = report;
    cover = CoverSheetItemization{};
    if (select.next()) {
        cover.found = true;
        cover.formType = select.text("form_type");
        cover.filed = select.text("filed_yn") == "-1";
        cover.itemizeAll = select.text("itemize_all") == "-1";
    }
    select.reset();
    return cover;
}

void appendNameAndAddress(std::vector<db::Value>& values, const run::ResolvedName& name) {
    for (const std::string* value : {&name.naml, &name.namf, &name.namt, &name.nams, &name.namn,
                                     &name.adr1, &name.adr2, &name.city, &name.stcd, &name.zip4}) {
        values.emplace_back(*value);
    }
}

void appendPersonDetails(std::vector<db::Value>& values, const run::ResolvedName& name) {
    for (const std::string* value : {&name.employer, &name.occup, &name.jobTitle, &name.spousEmp,
                                     &name.parent1, &name.parent2}) {
        values.emplace_back(*value);
    }
}

std::string insertSql(std::string_view table, std::initializer_list<const char*> columns) {
    std::string names;
    std::string marks;
    for (const char* column : columns) {
        names += names.empty() ? "" : ", ";
        names += column;
        marks += marks.empty() ? "?" : ", ?";
    }
    return "insert into " + std::string(table) + " (" + names + ") values (" + marks + ")";
}

void insertRow(db::Connection& db, const std::string& sql, const std::vector<db::Value>& values) {
    db::Statement& insert = db.statement(sql);
    int index = 0;
    for (const db::Value& value : values) {
        insert.bind(++index, value);
    }
    insert.execute();
}

std::string withResolvedName(std::string_view prefix, const run::ConversionRun& run) {
    std::string text(prefix);
    text += run.resolvedName.namf;
    text += ' ';
    text += run.resolvedName.naml;
    return text;
}

} // namespace dcf::importers
