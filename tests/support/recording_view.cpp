#include "recording_view.h"

#include <algorithm>
#include <utility>

namespace dcf::test {
namespace {

template <typename T>
void remember(std::vector<std::pair<std::string, T>>& values, std::string_view name, T value) {
    auto found =
        std::find_if(values.begin(), values.end(), [&](const auto& p) { return p.first == name; });
    if (found == values.end()) {
        values.emplace_back(std::string(name), std::move(value));
    } else {
        found->second = std::move(value);
    }
}

template <typename T>
T recall(const std::vector<std::pair<std::string, T>>& values, std::string_view name, T none) {
    auto found =
        std::find_if(values.begin(), values.end(), [&](const auto& p) { return p.first == name; });
    return found == values.end() ? none : found->second;
}

} // namespace

std::string questionKindName(run::QuestionKind kind) {
    switch (kind) {
    case run::QuestionKind::ConfirmRun:
        return "ConfirmRun";
    case run::QuestionKind::DuplicateFiler:
        return "DuplicateFiler";
    case run::QuestionKind::SimilarName:
        return "SimilarName";
    case run::QuestionKind::SaveNotImported:
        return "SaveNotImported";
    case run::QuestionKind::SaveMinor:
        return "SaveMinor";
    case run::QuestionKind::SaveClean:
        return "SaveClean";
    case run::QuestionKind::CancelRun:
        return "CancelRun";
    }
    return "?";
}

void RecordingView::answer(run::QuestionKind kind, std::vector<run::Answer> answers) {
    script_.emplace_back(kind, std::deque<run::Answer>(answers.begin(), answers.end()));
}

void RecordingView::atYieldAfter(std::string_view control, std::string_view text,
                                 std::function<void()> action) {
    triggers_.push_back({std::string(control), std::string(text), std::move(action)});
}

void RecordingView::setText(std::string_view control, std::string_view text) {
    calls.push_back(std::string(control) + ": " + std::string(text));
    remember(texts_, control, std::string(text));
    for (Trigger& trigger : triggers_) {
        if (trigger.action && trigger.control == control && trigger.text == text) {
            trigger.armed = true;
        }
    }
}

void RecordingView::setCount(std::string_view label, std::int64_t value) {
    calls.push_back(std::string(label) + " = " + std::to_string(value));
    remember(counts_, label, value);
}

void RecordingView::setVisible(std::string_view control, bool visible) {
    calls.push_back(std::string(control) + (visible ? " shown" : " hidden"));
    remember(visible_, control, visible);
}

void RecordingView::setEnabled(std::string_view control, bool enabled) {
    calls.push_back(std::string(control) + (enabled ? " enabled" : " disabled"));
    remember(enabled_, control, enabled);
}

void RecordingView::setProgress(std::int64_t value, std::int64_t maximum) {
    calls.push_back("pgbImport " + std::to_string(value) + "/" + std::to_string(maximum));
}

void RecordingView::setBusy(bool busy) {
    calls.emplace_back(busy ? "busy" : "not busy");
}

namespace {

const char* answerName(run::Answer answer) {
    switch (answer) {
    case run::Answer::Yes:
        return "Yes";
    case run::Answer::Cancel:
        return "Cancel";
    case run::Answer::No:
        break;
    }
    return "No";
}

} // namespace

run::Answer RecordingView::ask(const run::Question& question) {
    questions.push_back(question);
    run::Answer answer = question.defaultAnswer;
    for (auto& [kind, answers] : script_) {
        if (kind == question.kind && !answers.empty()) {
            answer = answers.front();
            if (answers.size() > 1) {
                answers.pop_front();
            }
        }
    }
    calls.push_back("ask " + questionKindName(question.kind) + ": " + question.text + " -> " +
                    answerName(answer));
    return answer;
}

void RecordingView::tell(const run::Message& message) {
    messages.push_back(message);
    calls.push_back("tell: " + message.text);
}

void RecordingView::yield() {
    calls.emplace_back("yield");
    for (Trigger& trigger : triggers_) {
        if (trigger.armed) {
            // Once only: the action may set texts that would arm it again.
            trigger.armed = false;
            std::exchange(trigger.action, nullptr)();
        }
    }
}

std::string RecordingView::text(std::string_view control) const {
    return recall(texts_, control, std::string());
}
std::int64_t RecordingView::count(std::string_view label) const {
    return recall(counts_, label, std::int64_t{-1});
}
bool RecordingView::visible(std::string_view control) const {
    return recall(visible_, control, false);
}
bool RecordingView::enabled(std::string_view control) const {
    return recall(enabled_, control, false);
}

} // namespace dcf::test
