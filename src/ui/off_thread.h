#pragma once

#include <QEventLoop>
#include <QMetaObject>
#include <exception>
#include <optional>
#include <thread>
#include <utility>

namespace dcf::ui {

// Runs work on a thread of its own and returns its result, or throws what it
// threw. Meanwhile the window's thread goes on painting and running its
// timers, but takes no input from the user: what the user does waits, as it
// would for work done on the window's thread, and nothing of the window
// changes under the work.
template <typename Work> auto runOffTheWindowThread(Work work) -> decltype(work()) {
    using Result = decltype(work());
    std::optional<Result> result;
    std::exception_ptr failure;
    QEventLoop waiting;
    std::thread worker([&] {
        try {
            result.emplace(work());
        } catch (...) {
            failure = std::current_exception();
        }
        // Queued: the loop ends once it runs, even when the work was done
        // before it began.
        QMetaObject::invokeMethod(&waiting, &QEventLoop::quit, Qt::QueuedConnection);
    });
    waiting.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    if (failure) {
        std::rethrow_exception(failure);
    }
    return std::move(*result);
}

} // namespace dcf::ui
