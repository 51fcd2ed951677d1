#include "window_options.h"

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace dcf::ui {
namespace {

struct Case {
    const char* name;
    std::vector<const char*> arguments;
    bool start;
    int exitStatus;
    // Expected file, relative to the current folder; null for none.
    const char* file;
    // Text expected on standard output, or on standard error when it is a
    // usage error.
    const char* said;
};

TEST(WindowOptions, TheCommandLineOpensTheWindowOrEndsWithItsStatus) {
    const std::vector<Case> cases = {
        {"no arguments", {}, true, 0, nullptr, ""},
        {"a file", {"report.DCF_ZV"}, true, 0, "report.DCF_ZV", ""},
        {"a file after --", {"--", "-odd.DCF_ZV"}, true, 0, "-odd.DCF_ZV", ""},
        {"an absolute file", {"/data/a.DCF_ZV"}, true, 0, "/data/a.DCF_ZV", ""},
        {"help", {"--help"}, false, 0, nullptr, "Usage: dcfconvert [OPTIONS] [FILE]"},
        {"short help", {"-h", "a.DCF_ZV"}, false, 0, nullptr, "--version"},
        {"version", {"--version"}, false, 0, nullptr, "dcfconvert " DCF_VERSION},
        {"two files", {"a.DCF_ZV", "b.DCF_ZV"}, false, 2, nullptr, "b.DCF_ZV"},
        {"an unknown option", {"--platform", "xcb"}, false, 2, nullptr, "--platform"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<const char*> argv = {"dcfconvert"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        std::ostringstream out;
        std::ostringstream err;
        const WindowOptions options =
            parseWindowOptions(static_cast<int>(argv.size()), argv.data(), out, err);
        EXPECT_EQ(options.start, c.start);
        EXPECT_EQ(options.exitStatus, c.exitStatus);
        if (c.file == nullptr) {
            EXPECT_FALSE(options.file.has_value());
        } else {
            ASSERT_TRUE(options.file.has_value());
            EXPECT_EQ(*options.file, std::filesystem::current_path() / c.file);
        }
        const std::string said = c.exitStatus == 0 ? out.str() : err.str();
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
    }
}

} // namespace
} // namespace dcf::ui
