#pragma once

#include "bench_database.h"

#include <filesystem>

namespace dcf::bench {

// Seconds to insert the staged rows of `file` into the database's IMPORTTEMP
// by hand, through the C API of its target: the floor staging is measured
// against.
double timeFloorInserts(const BenchDatabase& database, const std::filesystem::path& file);

// Writes the same rows as CSV in the floor's column order (filer_id,
// rec_type, rec_num, repno, Status, field4 to field46, Memo), for a bulk
// copy into a server's IMPORTTEMP.
void writeFloorCsv(const std::filesystem::path& file, const std::filesystem::path& csv);

} // namespace dcf::bench
