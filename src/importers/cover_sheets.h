#pragma once

#include "staging/name_record.h"
#include "staging/update_import_temp.h"

#include <string>

namespace dcf::importers {

// A name and address as a cover sheet keeps it for its filer and treasurer.
struct NameSet {
    staging::NameParts name;
    staging::AddressParts address;
};

// What the cover sheets of a run keep while they are converted: the names
// a report without a treasurer takes over from the report before it, and
// the report numbers that move once every cover sheet is in.
struct CoverSheets {
    NameSet filer;
    NameSet treasurer;
    staging::AddressParts mailing;
    std::string treasurerPhone;
    std::string treasurerPhoneExtension;
    std::string filerEntityCode;
    staging::ReportMoves reportMoves;
};

} // namespace dcf::importers
