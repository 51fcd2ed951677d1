#pragma once

#include "db/connection.h"
#include "qt_view.h"
#include "run/conversion_run.h"
#include "run_worker.h"

#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
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
    FrmMain(run::ConversionRun& run, db::Connection& connection, QWidget* parent = nullptr);
    ~FrmMain() override;
    FrmMain(const FrmMain&) = delete;
    FrmMain& operator=(const FrmMain&) = delete;

    // What Get File does with the file the user picked.
    void chooseFile(const std::filesystem::path& path);

    [[nodiscard]] bool running() const { return worker_.running(); }
    // The last run's log under its final name; empty before a run wrote one.
    [[nodiscard]] const std::filesystem::path& logPath() const { return logPath_; }
    [[nodiscard]] QtView& view() { return view_; }

signals:
    // A run has ended and the window shows its outcome.
    void runEnded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Building the window (frm_main_layout.cpp).
    void buildMenus();
    QWidget* buildToolbar(QWidget* parent);
    QLayout* buildSelection(QWidget* parent);
    QLayout* buildCounters(QWidget* parent);
    QLayout* buildRunLabels(QWidget* parent);
    void buildStatusBar();
    void placeLog(int left, int top, int width, int height);

    void load();
    void getFile();
    void startRun();
    void finishRun(const app::RunResult& result, const std::string& error);
    void cancelRun();
    void toggleLog();
    void showAbout();
    void showClock();

    run::ConversionRun& run_;
    db::Connection& connection_;
    QtView view_;
    RunWorker worker_;
    std::filesystem::path logPath_;

    QPushButton* cmdGetFile_ = nullptr;
    QPushButton* cmdRun_ = nullptr;
    QPushButton* cmdStop_ = nullptr;
    QPushButton* cmdExit_ = nullptr;
    QPushButton* cmdViewErrorFile_ = nullptr;
    QLabel* lblImportFileName_ = nullptr;
    QLabel* lblFilerType_ = nullptr;
    QLabel* lblFilerID_ = nullptr;
    QLabel* lblToolBar_ = nullptr;
    QPlainTextEdit* rtbLog_ = nullptr;
    QLabel* statusDate_ = nullptr;
    QLabel* statusTime_ = nullptr;
    QTimer clock_;
};

} // namespace dcf::ui
