#pragma once

#include "run/run_context.h"
#include "staging/import_temp.h"

#include <cstdint>
#include <string_view>

namespace dcf::staging {

// One line of the DCF file as the staging pass hands it over.
struct StagingLine {
    std::string_view text;
    // Its place in the file: the first line is 1.
    std::int64_t number = 0;
    // The fields its record type reads after the type.
    int fieldCount = 0;
};

// Stages the line, split for its type's fields, as one IMPORTTEMP row with
// status "I". A line that cannot be staged (short, holding a NUL byte,
// refused by the database) is logged with the staging block and counted as
// not imported; the next line stages normally. A staged filer line makes its
// filer the run's. Returns whether the line was staged.
bool ImportDCFRecords(run::RunContext& context, ImportTemp& importTemp, const StagingLine& line);

// Logs a line holding a NUL byte that is of no staged type (a header, a
// line of no known type) with the same staging block: it is never staged,
// but the file it comes from is damaged.
void refuseLineWithNul(run::RunContext& context, const StagingLine& line);

} // namespace dcf::staging
