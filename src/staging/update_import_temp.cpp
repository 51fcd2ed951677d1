#include "staging/update_import_temp.h"

#include "staging/column_renumbering.h"
#include "staging/error_log_writers.h"

#include <unordered_set>

namespace dcf::staging {
namespace {

constexpr const char* kNotConverted =
    "Report cover sheet was not converted. Record will not be imported.";

void rejectReportRows(run::RunContext& context, ImportTemp& importTemp,
                      const std::string& reportNumber) {
    const db::KeySnapshot rows = importTemp.keysOfReport(reportNumber);
    StagedRow row;
    for (const std::int64_t key : rows) {
        if (importTemp.read(key, row)) {
            WriteSevereErrorLog(context, importTemp, row, kNotConverted);
        }
    }
}

} // namespace

void UpdateImportTemp(ImportTemp& importTemp, const ReportMoves& moves) {
    Renumbering reports;
    for (const auto& [from, to] : moves) {
        reports.add(from, to);
    }
    importTemp.moveReportRows(reports);
}

void rejectRowsOfUnconvertedReports(run::RunContext& context, ImportTemp& importTemp,
                                    const ReportMoves& moves) {
    std::unordered_set<std::string> handled;
    for (const auto& [from, to] : moves) {
        // A report number that one converted cover sheet carries keeps its rows.
        handled.insert(from);
    }
    const db::KeySnapshot refused = importTemp.keysOfRefused(recordType("FORM"));
    StagedRow form;
    for (const std::int64_t key : refused) {
        if (importTemp.read(key, form) && handled.insert(form.text("rec_num")).second) {
            rejectReportRows(context, importTemp, form.text("rec_num"));
        }
    }
}

} // namespace dcf::staging
