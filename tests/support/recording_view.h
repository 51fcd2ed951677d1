#pragma once

#include "app/view.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace dcf::test {

// A view for tests: answers come from a script per question kind (the last
// answer repeats; the question's default when none is scripted), and every
// call is recorded in order as one line of text.
class RecordingView final : public app::View {
public:
    void answer(app::QuestionKind kind, std::vector<app::Answer> answers);
    // Called at every yield; a test uses it to press Cancel mid-run.
    void onYield(std::function<void()> action) { onYield_ = std::move(action); }

    void setText(std::string_view control, std::string_view text) override;
    void setCount(std::string_view label, std::int64_t value) override;
    void setVisible(std::string_view control, bool visible) override;
    void setEnabled(std::string_view control, bool enabled) override;
    void setProgress(std::int64_t value, std::int64_t maximum) override;
    void setBusy(bool busy) override;
    app::Answer ask(const app::Question& question) override;
    void tell(const app::Message& message) override;
    void yield() override;

    // Every call, e.g. "lblToolBar: Press ...", "ask SaveClean: Save All ... -> Yes".
    std::vector<std::string> calls;
    std::vector<app::Question> questions;
    std::vector<app::Message> messages;
    int yields = 0;

    // The last text, count or visibility set on a control ("" / -1 / false
    // when never set).
    [[nodiscard]] std::string text(std::string_view control) const;
    [[nodiscard]] std::int64_t count(std::string_view label) const;
    [[nodiscard]] bool visible(std::string_view control) const;
    [[nodiscard]] bool enabled(std::string_view control) const;

private:
    std::vector<std::pair<app::QuestionKind, std::deque<app::Answer>>> script_;
    std::vector<std::pair<std::string, std::string>> texts_;
    std::vector<std::pair<std::string, std::int64_t>> counts_;
    std::vector<std::pair<std::string, bool>> visible_;
    std::vector<std::pair<std::string, bool>> enabled_;
    std::function<void()> onYield_;
};

std::string questionKindName(app::QuestionKind kind);

} // namespace dcf::test
