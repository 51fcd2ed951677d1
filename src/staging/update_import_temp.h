#pragma once

#include "run/run_context.h"
#include "staging/import_temp.h"

#include <string>
#include <utility>
#include <vector>

namespace dcf::staging {

// Each converted report's number in the file and its new number in the
// database, in the order converted.
using ReportMoves = std::vector<std::pair<std::string, std::string>>;

// Moves the staged rows of every converted report from the report's number
// in the file to its number in the database, so that the schedules store
// their rows under the right report. Each row moves at most once, however
// the new numbers overlap the file's. Summary rows get status "S". A
// candidate's field4 is an expenditure's record number, not a report number,
// and stays as it is.
void UpdateImportTemp(ImportTemp& importTemp, const ReportMoves& moves);

// Refuses the staged rows of each report whose cover sheet was not converted
// (its FORM row is marked "E"), so that they do not land under a report
// number that in the database may be another report's.
void rejectRowsOfUnconvertedReports(run::RunContext& context, ImportTemp& importTemp,
                                    const ReportMoves& moves);

} // namespace dcf::staging
