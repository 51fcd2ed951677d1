#pragma once

#include "app/server_copy.h"
#include "db/connection.h"
#include "run/run_context.h"

#include <filesystem>
#include <memory>

namespace dcf::app {

// The scratch database of a run on a server, a SQLite file of the run's own
// that the whole conversion works on: on a server every statement is a round
// trip, and a run makes several per line. It holds IMPORTTEMP
// (staging::ImportTemp) and the filing tables as the server's catalog
// describes them, with the server's rows the run reads copied in
// (ServerCopy). Made, it sets context.scratch and context.server (only when
// the target is PostgreSQL); gone, it clears them and deletes the file. The
// file lives in a folder only the user can open and goes with the run,
// however the run ends; a killed run's folder goes with the next run on a
// server.
class RunScratch {
public:
    explicit RunScratch(run::RunContext& context);
    ~RunScratch();
    RunScratch(const RunScratch&) = delete;
    RunScratch& operator=(const RunScratch&) = delete;

    // The server's side of the run; nullptr when the target is no server.
    [[nodiscard]] ServerCopy* serverCopy() { return copy_.get(); }

private:
    void open();
    void removeFolder();

    run::RunContext& context_;
    std::filesystem::path folder_;
    int lockDescriptor_ = -1;
    std::unique_ptr<db::Connection> connection_;
    std::unique_ptr<ServerCopy> copy_;
};

} // namespace dcf::app
