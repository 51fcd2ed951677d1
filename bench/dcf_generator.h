#pragma once

#include <cstdint>
#include <filesystem>

namespace dcf::bench {

// Writes a DCF file of `lines` lines shaped like a real filer's export: a
// header, the filer and its name, then names, contributions, expenditures,
// loans, texts and the other record types, every line splitting whole.
void generateDcfFile(const std::filesystem::path& file, std::int64_t lines);

} // namespace dcf::bench
