#pragma once

#include "app/run_rate.h"
#include "cli/cli_options.h"
#include "run/run_request.h"
#include "run/view.h"

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace dcf::cli {

// Writes one line of standard output and flushes it, so that a program
// reading the output sees each event as it happens.
void writeLine(std::ostream& out, std::string_view text);

// The text with each line break (CR LF, LF or a lone CR) written as the two
// characters \n, so that a message stays on one output line.
std::string escapeLineBreaks(std::string_view text);

// What a progress line is made from.
struct ProgressSnapshot {
    std::string step; // the processing message, may be empty
    std::int64_t value = 0;
    std::int64_t maximum = 0;
    std::optional<app::RateEstimate> rate;                   // of the bar since it started over
    std::map<std::string, std::int64_t, std::less<>> counts; // by count label
};

// One line, e.g. "Processing input records from DCF file. 12000/200000,
// 5400/s, about 35 s left; read 12000 lines; staged NAME 3000 RCPT 4200".
std::string progressLine(const ProgressSnapshot& progress);

// The view of the batch front end: every question is answered from the
// options and named on standard output with every message; progress goes to
// standard error as each step begins and at most a few times a second between.
class CliView final : public run::View {
public:
    // `file` is the run's, whose filer line the confirmation shows.
    CliView(const Options& options, const run::SelectedFile& file, std::ostream& out,
            std::ostream& err);

    void setText(std::string_view control, std::string_view text) override;
    void setCount(std::string_view label, std::int64_t value) override;
    void setVisible(std::string_view, bool) override {}
    void setEnabled(std::string_view, bool) override {}
    void setProgress(std::int64_t value, std::int64_t maximum) override;
    void setBusy(bool) override {}
    run::Answer ask(const run::Question& question) override;
    void tell(const run::Message& message) override;
    void yield() override {}

private:
    using Clock = std::chrono::steady_clock;

    void reportProgress();
    // Names the question and its answer on standard output.
    run::Answer answered(std::string_view kind, std::string_view word, run::Answer answer);
    [[nodiscard]] const char* saveWord() const { return options_.save ? "yes" : "no"; }
    [[nodiscard]] run::Answer saveAnswer() const {
        return options_.save ? run::Answer::Yes : run::Answer::No;
    }

    const Options& options_;
    const run::SelectedFile& file_;
    std::ostream& out_;
    std::ostream& err_;
    std::size_t duplicateFilerAsked_ = 0;
    std::size_t similarNameAsked_ = 0;
    ProgressSnapshot progress_;
    app::RunRate rate_;
    Clock::time_point lastReport_;
};

} // namespace dcf::cli
