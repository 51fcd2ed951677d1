#pragma once

#include "app/run_rate.h"
#include "db/connection.h"
#include "log_entries_view.h"
#include "qt_view.h"
#include "run/run_request.h"
#include "run_worker.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <filesystem>
#include <string>

namespace dcf::ui {

// The program's working window. Each control's objectName is its control
// name, so the engine's view and tests address them by that name. The
// window only maps commands onto the engine and the engine's view calls
// onto its controls; the run itself is the engine's.
class FrmMain final : public QMainWindow {
    Q_OBJECT

public:
    // `request` is what each run is asked to convert: the window changes it
    // as the user chooses a file or a logs folder.
    FrmMain(run::RunRequest& request, db::Connection& connection, QWidget* parent = nullptr);
    ~FrmMain() override;
    FrmMain(const FrmMain&) = delete;
    FrmMain& operator=(const FrmMain&) = delete;

    // What the chooser does with the file the user picked; a file that
    // cannot be read is refused with a box. Also the end of a drop.
    void chooseFile(const std::filesystem::path& path);

    [[nodiscard]] bool running() const { return worker_.running(); }
    // The last run's log under its final name; empty before a run wrote one.
    [[nodiscard]] const std::filesystem::path& logPath() const { return logPath_; }
    // Its entries as CSV beside it; empty when the log has none.
    [[nodiscard]] const std::filesystem::path& entriesPath() const { return entriesPath_; }
    [[nodiscard]] QtView& view() { return view_; }

signals:
    // A run has ended and the window shows its outcome.
    void runEnded();

protected:
    void closeEvent(QCloseEvent* event) override;
    // A DCF file dropped on the idle window is chosen as Get File would.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Building the window (frm_main_layout.cpp).
    void buildMenus();
    QWidget* buildToolbar(QWidget* parent);
    QLayout* buildSelection(QWidget* parent);
    QLayout* buildCounters(QWidget* parent);
    QLayout* buildRunLabels(QWidget* parent);
    void buildStatusBar();
    void placeLog(int left, int top, int width, int height);
    // The log's text beside its entries' table, over the counters.
    void placeLogBesideEntries();

    void load();
    void getFile();
    void startRun();
    void finishRun(const app::RunResult& result, const std::string& error);
    void cancelRun();
    void toggleLog();
    void showAbout();
    void showClock();
    void showRate(std::int64_t value, std::int64_t maximum);

    run::RunRequest& request_;
    db::Connection& connection_;
    // Set by Cancel (and by closing mid-run), read by the run's worker.
    std::atomic<bool> cancelRequested_{false};
    QtView view_;
    RunWorker worker_;
    std::filesystem::path logPath_;
    std::filesystem::path entriesPath_;

    QAbstractButton* cmdGetFile_ = nullptr;
    QAbstractButton* cmdRun_ = nullptr;
    QAbstractButton* cmdStop_ = nullptr;
    QAbstractButton* cmdExit_ = nullptr;
    QPushButton* cmdViewErrorFile_ = nullptr;
    QLabel* lblToolBar_ = nullptr;
    QPlainTextEdit* rtbLog_ = nullptr;
    LogEntriesView* logEntries_ = nullptr;
    QLabel* statusRate_ = nullptr;
    QLabel* statusDate_ = nullptr;
    QLabel* statusTime_ = nullptr;
    QTimer clock_;
    app::RunRate rate_;
};

} // namespace dcf::ui
