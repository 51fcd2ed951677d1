#pragma once

#include "run/conversion_run.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace dcf::app {

// What a filer line says of its filer: type (field 6), identifier (field 7)
// and name (field 8 alone when field 9 is empty, else field 9, a space,
// field 8). Missing fields are empty.
struct FilerLine {
    std::string type;
    std::string id;
    std::string name;
};

// Reads a filer line by its first nine commas, as the filer pre-scan does;
// a line with fewer commas has its missing fields empty.
FilerLine readFilerLine(std::string_view line);

// Makes `path` the run's selected file: its path, bare name, and the filer
// of its first filer line (left empty when the file has none or cannot be
// read).
void selectFile(run::ConversionRun& run, const std::filesystem::path& path);

} // namespace dcf::app
