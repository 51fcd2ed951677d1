#pragma once

#include "frm_main.h"
#include "run/run_request.h"
#include "test_database.h"

#include <memory>

#include <gtest/gtest.h>

namespace dcf::ui::test {

// A main window on a fresh SQLite filing database, its logs in a folder of
// its own.
class WindowTest : public ::testing::Test {
protected:
    WindowTest() : database_(dcf::test::Target::NativeSqlite), connection_(database_.connect()) {
        request_.logsFolder = logs_.path();
        window_ = std::make_unique<FrmMain>(request_, *connection_);
    }

    FrmMain& window() { return *window_; }
    // What the window asks each run to convert.
    run::RunRequest& request() { return request_; }
    db::Connection& connection() { return *connection_; }
    const std::filesystem::path& logs() const { return logs_.path(); }

private:
    dcf::test::TestDatabase database_;
    dcf::test::TempFolder logs_;
    std::unique_ptr<db::Connection> connection_;
    run::RunRequest request_;
    std::unique_ptr<FrmMain> window_;
};

} // namespace dcf::ui::test
