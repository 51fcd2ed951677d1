#pragma once

#include "app/run_command.h"
#include "run/run_request.h"
#include "run/view.h"

#include <QObject>
#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace dcf::ui {

// The conversion on a thread of its own, so that the window stays
// responsive. When the run is over, `finished` is called on the window's
// thread with the result, or with the text of an error the engine let
// escape.
class RunWorker {
public:
    using Finished = std::function<void(const app::RunResult& result, const std::string& error)>;

    // `window` is the object on whose thread `finished` runs.
    explicit RunWorker(QObject& window);
    ~RunWorker();
    RunWorker(const RunWorker&) = delete;
    RunWorker& operator=(const RunWorker&) = delete;

    // Starts app::runConversion on a copy of `request`; only when no run is
    // going. The connection, the view and the flag must outlive the run.
    void start(const run::RunRequest& request, db::Connection& connection, run::View& view,
               std::atomic<bool>& cancelRequested, Finished finished);
    // True from start until `finished` has been called.
    [[nodiscard]] bool running() const { return running_; }
    // Waits for the thread, when there is one.
    void join();

private:
    QObject& window_;
    std::thread thread_;
    bool running_ = false; // window thread only
};

} // namespace dcf::ui
