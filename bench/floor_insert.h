#pragma once

#include "bench_database.h"

#include <filesystem>

namespace dcf::bench {

// Seconds to insert the staged rows of `file` into the database's IMPORTTEMP
// by hand, through the C API of its target: the floor staging is measured
// against.
double timeFloorInserts(const BenchDatabase& database, const std::filesystem::path& file);

} // namespace dcf::bench
