#pragma once

#include "db/statement.h"
#include "staging/staged_row.h"

#include <string>

namespace dcf::staging {

// The staged record on which `row` stands, as the text of a log entry's input
// record: rec_type, rec_num, repno and field4 to field46, each as text (null
// as nothing), joined with ",". The row is read, never moved.
std::string ConstructInputRecord(db::Statement& row);
// The same for a row an importer has read whole.
std::string ConstructInputRecord(const StagedRow& row);

} // namespace dcf::staging
