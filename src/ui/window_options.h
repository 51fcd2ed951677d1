#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>

namespace dcf::ui {

// What the window program's command line asks for. It is read before Qt
// starts, so that --help and --version work without a display.
struct WindowOptions {
    // True when the window is to open; false when the program ends here
    // (help, version, or a usage error already explained), with exitStatus.
    bool start = false;
    int exitStatus = 0;
    // The file to choose as the window opens, made absolute.
    std::optional<std::filesystem::path> file;
};

inline constexpr int kWindowUsageErrorStatus = 2;

WindowOptions parseWindowOptions(int argc, const char* const* argv, std::ostream& out,
                                 std::ostream& err);

} // namespace dcf::ui
