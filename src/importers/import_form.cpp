#include "importers/cover_sheet_names.h"
#include "importers/importers.h"
#include "importers/schedule_rules.h"
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

// The report's period and election, as the file gives them and converted.
struct ReportDates {
    std::optional<ConvertedDate> start, end, election;
};

// An office's name or number cut to its width, with a warning.
struct Offices {
    std::string heldName, heldNumber, soughtName, soughtNumber;
};

Offices cutOffices(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    Offices offices;
    offices.heldName = run::cutToLimit(row, s.field(17), kOfficeHeldName, kFormRecord);
    offices.heldNumber = run::cutToLimit(row, s.field(18), kOfficeHeldNumber, kFormRecord);
    offices.soughtName = run::cutToLimit(row, s.field(20), kOfficeSoughtName, kFormRecord);
    offices.soughtNumber = run::cutToLimit(row, s.field(21), kOfficeSoughtNumber, kFormRecord);
    return offices;
}

// The report's numbers, period, election and offices, and what it says of
// itself. Throws for a correction number that is no number.
void setReportColumns(db::ColumnValues& v, const staging::StagedRow& s,
                      const std::string& reportNumber, const ReportDates& dates,
                      const Offices& offices) {
    const auto [filed, correction] = filedRule(s.field(5), s.field(10));
    const std::optional<double> correctionNumber = asNumber(correction);
    if (!correctionNumber) {
        throw std::runtime_error("Correction number '" + correction + "' is not a number.");
    }
    v.set("repno", reportNumber)
        .set("form_type", s.field(6))
        .set("correction_num", correction)
        .set("Prev_Repno", *correctionNumber != 0 ? db::Value(reportNumber) : db::Value(db::Null{}))
        .set("from_date", dateValue(dates.start))
        .set("thru_date", dateValue(dates.end))
        .set("elect_date", dateValue(dates.election))
        .set("electtypcd", s.field(14))
        .set("electdescr", s.field(15))
        .set("OffHldCd", s.field(16))
        .set("OffHldNam", offices.heldName)
        .set("OffHldNum", offices.heldNumber)
        .set("OffSeekCd", s.field(19))
        .set("OffSeekNam", offices.soughtName)
        .set("OffSeekNum", offices.soughtNumber)
        .set("party_code", s.field(23))
        .set("party_text", s.field(24))
        .set("st_co_code", s.field(25))
        .set("county_name", s.field(25) == "C" ? db::Value(s.field(26)) : db::Value(db::Null{}))
        .set("sign_print", s.field(28))
        .set("filed_yn", filed);
}

// The report types checked (fields 30 to 39), its month and its flags.
void setReportTypeColumns(db::ColumnValues& v, const staging::StagedRow& s) {
    static constexpr std::array<const char*, 10> kReportTypes = {
        "rpttyp_jan", "rpttyp_jul", "rpttyp_e50", "rpttyp_e30", "rpttyp_e8",
        "rpttyp_a15", "rpttyp_a10", "rpttyp_500", "rpttyp_run", "rpttyp_fin"};
    for (std::size_t i = 0; i < kReportTypes.size(); ++i) {
        v.set(kReportTypes[i], yesWhen(s.field(30 + static_cast<int>(i)) == "X"));
    }
    v.set("rpttyp_mon", monthOf(s.field(40)))
        .set("filer_coa", yesWhen(s.field(41) == "Y"))
        .set("tmail_coa", yesWhen(s.field(42) == "Y"))
        .set("itemize_all", yesWhen(asNumber(s.field(46)) == 1.0));
}

// The names the cover sheets keep: the filer, the treasurer, the mailing
// address.
void setCoverSheetNames(db::ColumnValues& v, const CoverSheets& cover) {
    v.set("entity_cd", cover.filerEntityCode);
    names::setNameColumns(v, "filer_", cover.filer.name);
    names::setAddressColumns(v, "filer_", cover.filer.address);
    names::setNameColumns(v, "tres_", cover.treasurer.name);
    names::setAddressColumns(v, "tres_", cover.treasurer.address);
    v.set("tres_phon", cover.treasurerPhone).set("tres_phone_x", cover.treasurerPhoneExtension);
    names::setAddressColumns(v, "tmail_", cover.mailing);
}

RowOutcome convertCoverSheet(ImportRow& row) {
    const staging::StagedRow& s = row.staged();
    ReportDates dates;
    dates.start = optionalDate(s.field(11));
    if (dates.start && !dates.start->valid) {
        return RowOutcome::rejected("Report start date is invalid. Record will not be imported.");
    }
    dates.end = optionalDate(s.field(12));
    dates.election = optionalDate(s.field(13));
    row.item.date = dates.start ? dates.start->text : std::string();
    row.item.endDate = dates.end ? dates.end->text : std::string();
    const Offices offices = cutOffices(row);
    readCoverSheetFiler(row, s.field(8));
    if (readCoverSheetTreasurer(row, s.field(9))) {
        refreshFilerTreasurer(row);
    }
    const std::string reportNumber = names::FindNextRepNo(row.db());
    db::ColumnValues values;
    values.set("filer_id", row.run().filer.id);
    setReportColumns(values, s, reportNumber, dates, offices);
    setReportTypeColumns(values, s);
    setCoverSheetNames(values, row.importers().coverSheets);
    values.set("no_actv", yesWhen(s.field(22) != "Y"));
    insertTargetRow(row, values);
    // The report's rows follow once every cover sheet is converted.
    row.importers().coverSheets.reportMoves.emplace_back(s.text("rec_num"), reportNumber);
    row.importTemp().setRecordNumber(s.key(), reportNumber);
    return RowOutcome::added();
}

std::optional<std::string> clearCoverSheets(ImporterContext& importers, std::size_t /*rows*/) {
    importers.coverSheets = CoverSheets{};
    return std::nullopt;
}

void moveReportRows(ImporterContext& importers) {
    const staging::ReportMoves& moves = importers.coverSheets.reportMoves;
    staging::rejectRowsOfUnconvertedReports(importers.run, importers.importTemp, moves);
    staging::UpdateImportTemp(importers.importTemp, moves);
}

std::string coverSheetStatus(const ImportRow& row) {
    return "Added Cover Sheet record For report covering " + row.item.date + " to " +
           row.item.endDate;
}

std::vector<std::string> noRecordNumber(const ImportRow& /*row*/) {
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

} // namespace dcf::importers
