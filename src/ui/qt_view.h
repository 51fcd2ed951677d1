#pragma once

#include "run/view.h"

#include <QObject>
#include <QTimer>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

class QAction;
class QMainWindow;
class QMessageBox;

namespace dcf::ui {

// The engine's view on the main window. The engine calls it from the run's
// worker thread; the window's own handlers call it from the window's thread.
//
// From the worker every change is kept as the latest value per control and
// handed to the window in one batch at most about 20 times a second, so a
// long file does not flood the window with events while the window still
// ends up showing exactly what the engine set last. From the window's thread
// a change is applied at once, after the batch still waiting.
//
// A question or message blocks the worker until the user answers. While the
// Cancel question is open the worker waits at its next yield (or before its
// next question), so no other box appears beside it.
class QtView final : public QObject, public run::View {
    Q_OBJECT

public:
    explicit QtView(QMainWindow& window);
    ~QtView() override;
    QtView(const QtView&) = delete;
    QtView& operator=(const QtView&) = delete;

    void setText(std::string_view control, std::string_view text) override;
    void setCount(std::string_view label, std::int64_t value) override;
    void setVisible(std::string_view control, bool visible) override;
    void setEnabled(std::string_view control, bool enabled) override;
    void setProgress(std::int64_t value, std::int64_t maximum) override;
    void setBusy(bool busy) override;
    run::Answer ask(const run::Question& question) override;
    void tell(const run::Message& message) override;
    void yield() override;

    // Window thread. Marks the Cancel question open so that the worker
    // waits; false (and nothing marked) while a question of the engine is
    // open.
    bool beginCancelQuestion();
    // Window thread. Lets the worker go on.
    void endCancelQuestion();
    // Window thread. Applies every change still waiting.
    void flush();
    // Window thread. The run is over: shows its last changes and gives the
    // pointer back if the engine left it busy.
    void runEnded();
    // From now on questions are answered No without a box and nothing
    // waits: the window is going away while a run is still on.
    void shutDown();
    // Window thread. Called with every value the progress bar shows.
    void setProgressListener(std::function<void(std::int64_t value, std::int64_t maximum)> listen);

private:
    // The latest value per control of what the worker set since the last
    // batch.
    struct Pending {
        std::map<std::string, std::string, std::less<>> texts;
        std::map<std::string, bool, std::less<>> visible;
        std::map<std::string, bool, std::less<>> enabled;
        std::optional<std::pair<std::int64_t, std::int64_t>> progress;
        std::optional<bool> busy;
    };

    [[nodiscard]] bool onWindowThread() const;
    void change(const std::function<void(Pending&)>& edit);
    void apply(const Pending& pending);
    void applyText(const QString& name, const QString& text);
    void applyVisible(const QString& name, bool visible);
    void applyEnabled(const QString& name, bool enabled);
    void applyProgress(std::int64_t value, std::int64_t maximum);
    void applyBusy(bool busy);
    void showPointer();
    [[nodiscard]] QAction* menuAction(const QString& control) const;

    // Runs `show` on the window's thread and returns its answer; the worker
    // waits for it.
    run::Answer answerFromWindow(std::function<run::Answer()> show);
    run::Answer showBox(QMessageBox& box);

    QMainWindow& window_;
    QTimer batchTimer_;
    std::function<void(std::int64_t, std::int64_t)> progressListener_;
    // Window thread only: the pointer the engine asked for, the boxes on
    // screen, and whether the override cursor is set.
    bool engineBusy_ = false;
    int openBoxes_ = 0;
    bool hourglassShown_ = false;

    std::mutex mutex_;
    std::condition_variable changed_;
    Pending pending_;
    bool batchScheduled_ = false;
    bool cancelQuestionOpen_ = false;
    bool engineQuestionOpen_ = false;
    bool shuttingDown_ = false;
};

} // namespace dcf::ui
