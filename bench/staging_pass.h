#pragma once

#include "bench_database.h"

#include <filesystem>

namespace dcf::bench {

// Stages every line of `file` into the open transaction of `connection`;
// throws when a line is refused.
void stageFile(db::Connection& connection, const std::filesystem::path& file);

// Seconds to stage every line of `file` the way a run does, inside one
// transaction; throws when a line is refused.
double timeStaging(const BenchDatabase& database, const std::filesystem::path& file);

} // namespace dcf::bench
