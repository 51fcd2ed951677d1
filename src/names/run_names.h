#pragma once

#include "names/filer_name_index.h"
#include "staging/name_records.h"

namespace dcf::names {

// What the name checks of one run read, held in memory for the run: the
// file's NAME records, once renumbered, and the filer's stored names.
struct RunNames {
    staging::NameRecords fileRecords;
    FilerNameIndex stored;
};

} // namespace dcf::names
