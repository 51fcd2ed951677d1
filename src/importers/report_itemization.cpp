#include "importers/report_itemization.h"

#include "db/cursor.h"

namespace dcf::importers {

const CoverSheetItemization& readCoverSheetItemization(db::Connection& db, ReportItemizations& last,
                                                       const std::string& report) {
    CoverSheetItemization& cover = last.itemization;
    // A report not found is looked up again: its row could be anyone's.
    if (last.report == report && cover.found) {
        return cover;
    }
    db::Cursor row(db, "select form_type, filed_yn, itemize_all from cvr where repno = ?", report);
    last.report = report;
    cover = CoverSheetItemization{};
    if (row.next()) {
        cover.found = true;
        cover.formType = row.row().text("form_type");
        cover.filed = row.row().text("filed_yn") == "-1";
        cover.itemizeAll = row.row().text("itemize_all") == "-1";
    }
    return cover;
}

} // namespace dcf::importers
