#pragma once

#include "run/run_request.h"

#include <filesystem>
#include <optional>
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

// What the last filer line of the file at `path` says, read to the end as
// the file chooser reads it; none when the file has no filer line. Throws
// std::runtime_error when the file cannot be read.
std::optional<FilerLine> readFileFiler(const std::filesystem::path& path);

// The file at `path` as the run's selected file: its path, bare name, and
// `filer` (all empty when there is none).
run::SelectedFile selectedFile(const std::filesystem::path& path,
                               const std::optional<FilerLine>& filer);

// The same, reading the filer from the file; an unreadable file leaves the
// filer empty, for the run refuses it with its reason.
run::SelectedFile selectedFile(const std::filesystem::path& path);

} // namespace dcf::app
