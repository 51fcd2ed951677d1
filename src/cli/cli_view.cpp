#include "cli/cli_view.h"

#include "dcf/control_names.h"
#include "dcf/record_types.h"

#include <cmath>
#include <ostream>
#include <utility>

namespace dcf::cli {
namespace {

using namespace std::chrono_literals;

// At most four progress lines a second.
constexpr auto kReportInterval = 250ms;

std::int64_t countOf(const ProgressSnapshot& progress, std::string_view label) {
    const auto found = progress.counts.find(label);
    return found == progress.counts.end() ? 0 : found->second;
}

// "; HEADING TYPE n TYPE n" over the non-zero counts of the labels that
// `label` picks from each type of the window's rows, in their order, or
// nothing.
std::string countsPart(const ProgressSnapshot& progress, const char* heading,
                       const char* RecordType::*label) {
    std::string part;
    for (const RecordType* type : windowRows()) {
        const char* name = type->*label;
        const std::int64_t count = name != nullptr ? countOf(progress, name) : 0;
        if (count != 0) {
            part += " " + std::string(type->name) + " " + std::to_string(count);
        }
    }
    return part.empty() ? part : std::string("; ") + heading + part;
}

std::string ratePart(const ProgressSnapshot& progress) {
    if (!progress.rate) {
        return {};
    }
    std::string part = ", " + std::to_string(std::llround(progress.rate->perSecond)) + "/s";
    if (progress.rate->secondsLeft) {
        part += ", about " + std::to_string(*progress.rate->secondsLeft) + " s left";
    }
    return part;
}

} // namespace

void writeLine(std::ostream& out, std::string_view text) {
    out << text << '\n';
    out.flush();
}

std::string escapeLineBreaks(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            escaped += "\\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            escaped += text[i];
        }
    }
    return escaped;
}

std::string progressLine(const ProgressSnapshot& progress) {
    std::string line = progress.step;
    if (progress.maximum > 0) {
        line += (line.empty() ? "" : " ") + std::to_string(progress.value) + "/" +
                std::to_string(progress.maximum) + ratePart(progress);
    }
    line += (line.empty() ? "read " : "; read ") +
            std::to_string(countOf(progress, control::lblImportCount)) + " lines";
    line += countsPart(progress, "staged", &RecordType::stagedLabel);
    line += countsPart(progress, "imported", &RecordType::importedLabel);
    const std::int64_t withErrors = countOf(progress, control::lblErrorsImportedCount);
    const std::int64_t notImported = countOf(progress, control::lblErrorsNotImportedCount);
    if (withErrors != 0 || notImported != 0) {
        line += "; " + std::to_string(withErrors) + " imported with errors, " +
                std::to_string(notImported) + " not imported";
    }
    return line;
}

CliView::CliView(const Options& options, const run::SelectedFile& file, std::ostream& out,
                 std::ostream& err)
    : options_(options), file_(file), out_(out), err_(err), lastReport_(Clock::now()) {
    rate_.restart(lastReport_);
}

void CliView::setText(std::string_view name, std::string_view text) {
    if (name != control::lblProcessingMessage || text == progress_.step) {
        return;
    }
    // A step is shown as it begins, however soon after the last line: a step
    // shorter than the report interval would otherwise never show. Its bar
    // starts with its first progress.
    progress_.step = text;
    progress_.value = 0;
    progress_.maximum = 0;
    rate_.update(0, 0, Clock::now());
    if (!options_.quiet) {
        lastReport_ = Clock::now();
        writeLine(err_, progressLine(progress_));
    }
}

void CliView::setCount(std::string_view label, std::int64_t value) {
    progress_.counts.insert_or_assign(std::string(label), value);
    reportProgress();
}

void CliView::setProgress(std::int64_t value, std::int64_t maximum) {
    rate_.update(value, maximum, Clock::now());
    progress_.value = value;
    progress_.maximum = maximum;
    reportProgress();
}

void CliView::reportProgress() {
    if (options_.quiet) {
        return;
    }
    const Clock::time_point now = Clock::now();
    if (now - lastReport_ < kReportInterval) {
        return;
    }
    lastReport_ = now;
    progress_.rate = rate_.estimate(now);
    writeLine(err_, progressLine(progress_));
}

run::Answer CliView::ask(const run::Question& question) {
    switch (question.kind) {
    case run::QuestionKind::ConfirmRun:
        // Running the command is the confirmation; show what it confirms.
        writeLine(out_, "filer: " + file_.filerType + " " + file_.filerId + " " + file_.filerName);
        return run::Answer::Yes;
    case run::QuestionKind::CancelRun:
        // Cancel comes from a signal, which sets the flag without a question.
        return question.defaultAnswer;
    case run::QuestionKind::DuplicateFiler: {
        const std::string& word = answerWord(options_.duplicateFiler, duplicateFilerAsked_++);
        return answered("duplicate-filer", word,
                        word == "continue" ? run::Answer::Yes : run::Answer::No);
    }
    case run::QuestionKind::SimilarName: {
        const std::string& word = answerWord(options_.similarNames, similarNameAsked_++);
        // Yes keeps the existing name, No adds the new one, and Cancel adds it
        // and asks no more.
        run::Answer answer = run::Answer::No;
        if (word == "existing") {
            answer = run::Answer::Yes;
        } else if (word == "stop-asking") {
            answer = run::Answer::Cancel;
        }
        return answered("similar-name", word, answer);
    }
    case run::QuestionKind::SaveNotImported:
        return answered("save-not-imported", saveWord(), saveAnswer());
    case run::QuestionKind::SaveMinor:
        return answered("save-minor", saveWord(), saveAnswer());
    case run::QuestionKind::SaveClean:
        return answered("save-clean", saveWord(), saveAnswer());
    }
    return question.defaultAnswer;
}

run::Answer CliView::answered(std::string_view kind, std::string_view word, run::Answer answer) {
    writeLine(out_, "question: " + std::string(kind) + " answer: " + std::string(word));
    return answer;
}

void CliView::tell(const run::Message& message) {
    writeLine(out_, "message: " + escapeLineBreaks(message.text));
}

} // namespace dcf::cli
