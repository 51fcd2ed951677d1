#pragma once

#include "db/connection.h"
#include "run/run_context.h"

#include <filesystem>
#include <memory>

namespace dcf::app {

// The scratch database of a run on a server, a SQLite file of the run's own
// where its IMPORTTEMP lives (staging::ImportTemp): the run reads and
// rewrites its rows several times each, and on a server every statement is a
// round trip. Made, it sets context.scratch (only when the target is
// PostgreSQL); gone, it clears it and deletes the file. The
// file lives in a folder only the user can open and goes with the run,
// however the run ends; a killed run's folder goes with the next run on a
// server.
class RunScratch {
public:
    explicit RunScratch(run::RunContext& context);
    ~RunScratch();
    RunScratch(const RunScratch&) = delete;
    RunScratch& operator=(const RunScratch&) = delete;

private:
    void open();
    void removeFolder();

    run::RunContext& context_;
    std::filesystem::path folder_;
    int lockDescriptor_ = -1;
    std::unique_ptr<db::Connection> connection_;
};

} // namespace dcf::app
