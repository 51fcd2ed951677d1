#pragma once

#include "db/connection.h"

#include <string>

namespace dcf::importers {

// What a report's cover sheet row says about itemizing its items.
struct CoverSheetItemization {
    bool found = false;
    std::string formType;
    bool filed = false;      // filed_yn "-1"
    bool itemizeAll = false; // itemize_all "-1"
};

// The report whose cover sheet row was read last, and what it said: the
// schedules ask for it row after row, one report after the other, and the
// columns read are never changed by the run once the row is in.
struct ReportItemizations {
    std::string report;
    CoverSheetItemization itemization;
};

// What the report's cover sheet row says, read again only for another
// report or one whose row was not found.
const CoverSheetItemization& readCoverSheetItemization(db::Connection& db, ReportItemizations& last,
                                                       const std::string& report);

} // namespace dcf::importers
