#pragma once

#include "app/run_command.h"

#include <atomic>
#include <csignal>
#include <iosfwd>

namespace dcf::cli {

// The whole batch front end: parses the options, opens the database, runs
// the conversion and writes its outcome. Returns the exit status: 0 saved,
// 1 rolled back or cancelled, 2 usage error or refused, 3 failed. When
// standard output could not be written, the run still goes to its end; that
// is said on standard error and makes the status 3 unless it was 2 or 3.
int runCli(int argc, char** argv, std::ostream& out, std::ostream& err);

// The outcome as the last output line names it ("saved", "rolled back", ...).
const char* outcomeWord(app::RunOutcome outcome);
int exitStatus(app::RunOutcome outcome);

// While it lives, SIGINT and SIGTERM request the run's cancel as a confirmed
// Cancel does; the signals' previous handling comes back when it goes.
class CancelOnSignals {
public:
    explicit CancelOnSignals(std::atomic<bool>& cancelRequested);
    ~CancelOnSignals();
    CancelOnSignals(const CancelOnSignals&) = delete;
    CancelOnSignals& operator=(const CancelOnSignals&) = delete;

private:
    struct sigaction previousInterrupt_ {};
    struct sigaction previousTerminate_ {};
};

} // namespace dcf::cli
