#pragma once

#include "run/run_context.h"

namespace dcf::staging {

// Moves the staged rows of every converted report (run.coverSheet.reportMoves)
// from the report's number in the file to its number in the database, so
// that the schedules store their rows under the right report. Each row moves
// at most once, however the new numbers overlap the file's. Summary rows get
// status "S". A candidate's field4 is an expenditure's record number, not a
// report number, and stays as it is.
void UpdateImportTemp(run::RunContext& context);

// Refuses the staged rows of each report whose cover sheet was not converted
// (its FORM row is marked "E"), so that they do not land under a report
// number that in the database may be another report's.
void rejectRowsOfUnconvertedReports(run::RunContext& context);

} // namespace dcf::staging
