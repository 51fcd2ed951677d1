#pragma once

#include "run/run_context.h"

#include <atomic>
#include <utility>

namespace dcf::test {

// What a run holds, for tests that drive one step of a run directly: the
// front end's request, a fresh run state and the cancel flag.
struct TestRun {
    TestRun() = default;
    explicit TestRun(run::RunRequest asked) : request(std::move(asked)) {}

    run::RunContext context(db::Connection& connection, run::View& view) {
        return {request, run, connection, view, cancelRequested};
    }

    run::RunRequest request;
    run::ConversionRun run;
    std::atomic<bool> cancelRequested{false};
};

} // namespace dcf::test
