#pragma once

#include <cstdint>
#include <filesystem>

namespace dcf::bench {

// Writes a DCF file of `lines` lines shaped like a real filer's export: a
// header, the filer and its name, then names, contributions, expenditures,
// loans, texts and the other record types, every line splitting whole.
void generateDcfFile(const std::filesystem::path& file, std::int64_t lines);

// Writes a DCF file of `lines` lines for a whole conversion: the filer, then
// `names` NAME records, then reports of about 2,000 lines each, a cover
// sheet naming a treasurer followed by records of every schedule
// (contributions most, then expenditures, pledges, credits, loans, debts and
// their guarantors) and summaries, whose names are drawn at random from all
// the names, so that every name is used again across reports. About one
// name in a hundred has a first name too long for the database (the run
// shortens it and says so) and about one schedule record in a hundred names
// no name of the file (the run refuses it). The same seed writes the same
// file.
void generateRunFile(const std::filesystem::path& file, std::int64_t lines, std::int64_t names,
                     std::uint64_t seed = 1);

} // namespace dcf::bench
