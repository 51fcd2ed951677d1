// The window program's options. Plain C++ like the batch front end's, so
// that they are read before any Qt object exists.

#include "window_options.h"

#include <ostream>
#include <string>

#include <CLI/CLI.hpp>

namespace dcf::ui {

WindowOptions parseWindowOptions(int argc, const char* const* argv, std::ostream& out,
                                 std::ostream& err) {
    CLI::App app{"Opens the window that converts a DCF file into the filing database.",
                 "dcfconvert"};
    app.set_version_flag("--version", std::string("dcfconvert ") + DCF_VERSION);
    std::string file;
    app.add_option("FILE", file, "the DCF file to choose, as Get File would choose it")
        ->type_name("");

    WindowOptions options;
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error, out, err);
        options.exitStatus = status == 0 ? 0 : kWindowUsageErrorStatus;
        return options;
    }
    options.start = true;
    if (!file.empty()) {
        // The window's runs and its labels need the file wherever the
        // program was started from.
        options.file = std::filesystem::absolute(file);
    }
    return options;
}

} // namespace dcf::ui
