#pragma once

#include "run/view.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace dcf::test {

// A view for tests: answers come from a script per question kind (the last
// answer repeats; the question's default when none is scripted), and every
// call is recorded in order as one line of text.
class RecordingView final : public run::View {
public:
    void answer(run::QuestionKind kind, std::vector<run::Answer> answers);
    // Runs `action` once, at the first yield after `control` was set to
    // `text`: how a test presses Cancel (or pulls the plug) at a named point
    // of the run.
    void atYieldAfter(std::string_view control, std::string_view text,
                      std::function<void()> action);

    void setText(std::string_view control, std::string_view text) override;
    void setCount(std::string_view label, std::int64_t value) override;
    void setVisible(std::string_view control, bool visible) override;
    void setEnabled(std::string_view control, bool enabled) override;
    void setProgress(std::int64_t value, std::int64_t maximum) override;
    void setBusy(bool busy) override;
    run::Answer ask(const run::Question& question) override;
    void tell(const run::Message& message) override;
    void yield() override;

    // Every call, e.g. "lblToolBar: Press ...", "ask SaveClean: Save All ... -> Yes".
    std::vector<std::string> calls;
    std::vector<run::Question> questions;
    std::vector<run::Message> messages;

    // The last text, count or visibility set on a control ("" / -1 / false
    // when never set).
    [[nodiscard]] std::string text(std::string_view control) const;
    [[nodiscard]] std::int64_t count(std::string_view label) const;
    [[nodiscard]] bool visible(std::string_view control) const;
    [[nodiscard]] bool enabled(std::string_view control) const;

private:
    std::vector<std::pair<run::QuestionKind, std::deque<run::Answer>>> script_;
    std::vector<std::pair<std::string, std::string>> texts_;
    std::vector<std::pair<std::string, std::int64_t>> counts_;
    std::vector<std::pair<std::string, bool>> visible_;
    std::vector<std::pair<std::string, bool>> enabled_;
    struct Trigger {
        std::string control;
        std::string text;
        std::function<void()> action;
        bool armed = false;
    };
    std::vector<Trigger> triggers_;
};

std::string questionKindName(run::QuestionKind kind);

} // namespace dcf::test
