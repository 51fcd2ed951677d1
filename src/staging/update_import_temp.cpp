#include "staging/update_import_temp.h"

#include "db/key_snapshot.h"
#include "run/error_log_writers.h"
#include "staging/column_renumbering.h"
#include "staging/construct_input_record.h"
#include "staging/staged_row.h"

#include <unordered_set>

namespace dcf::staging {
namespace {

// The record types whose rows belong to a report by their repno.
#define DCF_REPORT_ROW_TYPES                                                                       \
    "('LOAN', 'RCPT', 'PLDG', 'EXPN', 'GUAR', 'CRED', 'DEBT', 'ASSE', 'TEXT', 'FINL', 'CORR', "    \
    "'CVR2', 'CVR3', 'CAND')"

const ColumnMove kReportRows{
    "update IMPORTTEMP set repno = ? where repno = ? and rec_type in " DCF_REPORT_ROW_TYPES,
    "select import_key from IMPORTTEMP where repno = ? and rec_type in " DCF_REPORT_ROW_TYPES
    " order by import_key",
    "update IMPORTTEMP set repno = ? where import_key = ?",
};

const ColumnMove kSummaryRows{
    "update IMPORTTEMP set repno = ?, Status = 'S' where repno = ? and rec_type = 'SMRY'",
    "select import_key from IMPORTTEMP where repno = ? and rec_type = 'SMRY' order by import_key",
    "update IMPORTTEMP set repno = ?, Status = 'S' where import_key = ?",
    "update IMPORTTEMP set Status = 'S' where repno = ? and rec_type = 'SMRY'",
};

constexpr const char* kNotConverted =
    "Report cover sheet was not converted. Record will not be imported.";

void rejectReportRows(run::RunContext& context, const std::string& reportNumber) {
    const db::KeySnapshot rows(context.work(),
                               "select import_key from IMPORTTEMP where repno = ? and Status <> "
                               "'E' and (rec_type = 'SMRY' or rec_type in " DCF_REPORT_ROW_TYPES
                               ") order by import_key",
                               reportNumber);
    StagedRow row;
    for (const std::int64_t key : rows) {
        if (!row.read(context.work(), key)) {
            continue;
        }
        context.run.currentStagingKey = key;
        run::WriteSevereErrorLog(context, ConstructInputRecord(row), kNotConverted);
    }
    context.run.currentStagingKey = 0;
}

} // namespace

void UpdateImportTemp(run::RunContext& context) {
    Renumbering reports;
    for (const auto& [from, to] : context.run.coverSheet.reportMoves) {
        reports.add(from, to);
    }
    reports.apply(context.work(), kReportRows);
    reports.apply(context.work(), kSummaryRows);
}

void rejectRowsOfUnconvertedReports(run::RunContext& context) {
    std::unordered_set<std::string> handled;
    for (const auto& [from, to] : context.run.coverSheet.reportMoves) {
        // A report number that one converted cover sheet carries keeps its rows.
        handled.insert(from);
    }
    const db::KeySnapshot refused(context.work(),
                                  "select import_key from IMPORTTEMP where rec_type = ? and "
                                  "Status = ? order by import_key",
                                  "FORM", "E");
    StagedRow form;
    for (const std::int64_t key : refused) {
        if (form.read(context.work(), key) && handled.insert(form.text("rec_num")).second) {
            rejectReportRows(context, form.text("rec_num"));
        }
    }
}

} // namespace dcf::staging
