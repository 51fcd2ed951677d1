#pragma once

#include "staging/staged_row.h"

#include <string>

namespace dcf::staging {

// The staged record as the text of a log entry's input record: rec_type,
// rec_num, repno and field4 to field46, each as text (null as nothing),
// joined with ",".
std::string ConstructInputRecord(const StagedRow& row);

} // namespace dcf::staging
