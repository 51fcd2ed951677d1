#include "importers/import_form.h"

#include "dcf/convert_date.h"
#include "importers/cover_sheet_names.h"
#include "importers/value_limits.h"
#include "names/id_counters.h"
#include "staging/update_import_temp.h"

#include <array>
#include <stdexcept>

namespace dcf::importers {
namespace {

const std::string kYes = "-1";
const std::string kNo = "0";

const std::string& yesWhen(bool condition) {
    return condition ? kYes : kNo;
}

// The filed flag and the correction number after the filed rule.
std::pair<std::string, std::string> filedRule(const std::string& filed, std::string correction) {
    if (filed == "0" || filed == "-1") {
        return {filed, correction};
    }
    if (correction == "0") {
        correction = "1";
    }
    return {"0", correction};
}

// An office's name or number cut to its width, with a warning.
std::string officeValue(ImportRow& row, int field, std::size_t limit, const char* label) {
    return cutToLimit(row, row.staged().field(field), limit, label, kFormRecord);
}

db::Value monthOf(const std::string& month) {
    static const std::array<const char*, 12> kMonths = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                        "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    for (std::size_t i = 0; i < kMonths.size(); ++i) {
        if (month == std::to_string(i + 1)) {
            return std::string(kMonths[i]);
        }
    }
    return db::Null{};
}

db::Value dateValue(const std::string& staged, const std::string& converted) {
    return isEmptyQuoted(staged) ? db::Value(db::Null{}) : db::Value(converted);
}

std::string convertedDate(const std::string& staged, bool& recordError) {
    return isEmptyQuoted(staged) ? std::string() : ConvertDate(staged, recordError);
}

struct Offices {
    std::string heldName, heldNumber, soughtName, soughtNumber;
};

std::vector<db::Value> cvrValues(ImportRow& row, const std::pair<std::string, std::string>& filed,
                                 const Offices& offices, const std::string& electDate) {
    const staging::StagedRow& s = row.staged();
    const run::ConversionRun& run = row.run();
    const run::CoverSheetState& cover = run.coverSheet;
    const std::optional<double> correction = asNumber(filed.second);
    if (!correction) {
        throw std::runtime_error("Correction number '" + filed.second + "' is not a number.");
    }
    std::vector<db::Value> v = {run.filerId,
                                run.newReportNumber,
                                s.field(6),
                                filed.second,
                                *correction != 0 ? db::Value(run.newReportNumber)
                                                 : db::Value(db::Null{}),
                                dateValue(s.field(11), cover.startDate),
                                dateValue(s.field(12), cover.endDate),
                                dateValue(s.field(13), electDate),
                                s.field(14),
                                s.field(15),
                                s.field(16),
                                offices.heldName,
                                offices.heldNumber,
                                s.field(19),
                                offices.soughtName,
                                offices.soughtNumber,
                                s.field(23),
                                s.field(24),
                                s.field(25),
                                s.field(25) == "C" ? db::Value(s.field(26)) : db::Value(db::Null{}),
                                s.field(28),
                                filed.first};
    for (int n = 30; n <= 39; ++n) {
        v.emplace_back(yesWhen(s.field(n) == "X"));
    }
    v.push_back(monthOf(s.field(40)));
    v.emplace_back(yesWhen(s.field(41) == "Y"));
    v.emplace_back(yesWhen(s.field(42) == "Y"));
    v.emplace_back(yesWhen(asNumber(s.field(46)) == 1.0));
    v.emplace_back(cover.filerEntityCode);
    for (const run::NameSet* set : {&cover.filer, &cover.treasurer}) {
        for (const std::string* value :
             {&set->naml, &set->namf, &set->namt, &set->nams, &set->namn, &set->adr1, &set->adr2,
              &set->city, &set->stcd, &set->zip4}) {
            v.emplace_back(*value);
        }
    }
    v.emplace_back(cover.treasurerPhone);
    v.emplace_back(cover.treasurerPhoneExtension);
    for (const std::string* value : {&cover.mailing.adr1, &cover.mailing.adr2, &cover.mailing.city,
                                     &cover.mailing.stcd, &cover.mailing.zip4}) {
        v.emplace_back(*value);
    }
    v.emplace_back(yesWhen(s.field(22) != "Y"));
    return v;
}

void insertCoverSheet(db::Connection& db, const std::vector<db::Value>& values) {
    db::Statement& insert = db.statement(
        "insert into cvr (filer_id, repno, form_type, correction_num, Prev_Repno, from_date, "
        "thru_date, elect_date, electtypcd, electdescr, OffHldCd, OffHldNam, OffHldNum, "
        "OffSeekCd, OffSeekNam, OffSeekNum, party_code, party_text, st_co_code, county_name, "
        "sign_print, filed_yn, rpttyp_jan, rpttyp_jul, rpttyp_e50, rpttyp_e30, rpttyp_e8, "
        "rpttyp_a15, rpttyp_a10, rpttyp_500, rpttyp_run, rpttyp_fin, rpttyp_mon, filer_coa, "
        "tmail_coa, itemize_all, entity_cd, filer_naml, filer_namf, filer_namt, filer_nams, "
        "filer_namn, filer_adr1, filer_adr2, filer_city, filer_stcd, filer_zip4, tres_naml, "
        "tres_namf, tres_namt, tres_nams, tres_namn, tres_adr1, tres_adr2, tres_city, tres_stcd, "
        "tres_zip4, tres_phon, tres_phone_x, tmail_adr1, tmail_adr2, tmail_city, tmail_stcd, "
        "tmail_zip4, no_actv) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
        "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
        "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    int index = 0;
    for (const db::Value& value : values) {
        insert.bind(++index, value);
    }
    insert.execute();
}

RowOutcome convertCoverSheet(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    run::ConversionRun& run = row.run();
    run::CoverSheetState& cover = run.coverSheet;
    cover.startDate.clear();
    cover.endDate.clear();
    const auto filed = filedRule(s.field(5), s.field(10));
    // A flag left by an earlier record must not drop this report.
    run.recordError = false;
    cover.startDate = convertedDate(s.field(11), run.recordError);
    if (run.recordError) {
        run.recordError = false;
        return RowOutcome::rejected("Report start date is invalid. Record will not be imported.");
    }
    cover.endDate = convertedDate(s.field(12), run.recordError);
    const std::string electDate = convertedDate(s.field(13), run.recordError);
    const Offices offices{officeValue(row, 17, 30, "Office Held Name"),
                          officeValue(row, 18, 4, "Office Held Number"),
                          officeValue(row, 20, 30, "Office Sought Name"),
                          officeValue(row, 21, 4, "Office Sought Number")};
    readCoverSheetFiler(row, s.field(8));
    if (readCoverSheetTreasurer(row, s.field(9))) {
        refreshFilerTreasurer(row);
    }
    run.newReportNumber = names::FindNextRepNo(row.db());
    insertCoverSheet(row.db(), cvrValues(row, filed, offices, electDate));
    // The report's rows follow once every cover sheet is converted.
    cover.reportMoves.emplace_back(s.text("rec_num"), run.newReportNumber);
    row.work()
        .statement("update IMPORTTEMP set rec_num = ? where import_key = ?")
        .run(run.newReportNumber, s.key());
    return RowOutcome::added();
}

std::optional<std::string> clearCoverSheets(run::RunContext& context, std::size_t /*rows*/) {
    context.run.coverSheet = run::CoverSheetState{};
    return std::nullopt;
}

void moveReportRows(run::RunContext& context) {
    staging::rejectRowsOfUnconvertedReports(context);
    staging::UpdateImportTemp(context);
}

std::string coverSheetStatus(const run::ConversionRun& run, const staging::StagedRow& /*row*/) {
    return "Added Cover Sheet record For report covering " + run.coverSheet.startDate + " to " +
           run.coverSheet.endDate;
}

std::vector<std::string> noRecordNumber(const run::ConversionRun& /*run*/,
                                        const staging::StagedRow& /*row*/) {
    return {};
}

} // namespace

const ImporterDescription kImportFORM{
    .procedure = "ImportFORM",
    .recordTypes = {"FORM"},
    .processingMessage = "Processing Report Records",
    .beforeFirstRow = clearCoverSheets,
    .convert = convertCoverSheet,
    .afterLastRow = moveReportRows,
    .countType = "FORM",
    .statusText = coverSheetStatus,
    .blockRecordType = "FORM",
    .reportNumberColumn = "rec_num",
    .identifyingLines = noRecordNumber,
};

ImporterResult ImportFORM(run::RunContext& context) {
    return runImporter(context, kImportFORM);
}

} // namespace dcf::importers
