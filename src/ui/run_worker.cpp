#include "run_worker.h"

#include <exception>
#include <utility>

namespace dcf::ui {

RunWorker::RunWorker(QObject& window) : window_(window) {}

RunWorker::~RunWorker() {
    join();
}

void RunWorker::start(const run::RunRequest& request, db::Connection& connection, run::View& view,
                      std::atomic<bool>& cancelRequested, Finished finished) {
    join();
    running_ = true;
    thread_ = std::thread([this, request, &connection, &view, &cancelRequested,
                           finished = std::move(finished)]() mutable {
        app::RunResult result;
        std::string error;
        try {
            result = app::runConversion(request, connection, view, cancelRequested);
        } catch (const std::exception& failure) {
            error = failure.what();
            result.outcome = app::RunOutcome::Failed;
        }
        // A run never ends under an open Cancel question.
        view.yield();
        QMetaObject::invokeMethod(
            &window_,
            [this, result = std::move(result), error = std::move(error),
             finished = std::move(finished)] {
                join();
                running_ = false;
                finished(result, error);
            },
            Qt::QueuedConnection);
    });
}

void RunWorker::join() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

} // namespace dcf::ui
