#include "frm_main.h"

#include "app/run_window_state.h"
#include "dcf/control_names.h"
#include "frm_about.h"
#include "frm_setup.h"
#include "log/clock_text.h"
#include "message_box.h"
#include "rate_text.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QVBoxLayout>
#include <chrono>
#include <optional>
#include <stdexcept>

namespace dcf::ui {
namespace {

const QString kViewLogCaption = QStringLiteral("&View Error File");
const QString kCloseLogCaption = QStringLiteral("Close &Log");

QString readLog(const std::filesystem::path& path) {
    QFile file(QString::fromStdString(path.string()));
    if (path.empty() || !file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

// The log's entries; none when the run wrote none, or when the file cannot
// be read (the log's text still shows).
std::vector<log::Entry> readEntries(const std::filesystem::path& path) {
    if (path.empty()) {
        return {};
    }
    try {
        return log::readEntries(path);
    } catch (const std::runtime_error&) {
        return {};
    }
}

// The one local file of a drag whose name a DCF file may have; none for
// anything else.
std::optional<std::filesystem::path> droppedDcfFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) {
        return std::nullopt;
    }
    const QUrl url = data->urls().front();
    if (!url.isLocalFile() || !matchesFilePattern(url.fileName(), QStringLiteral("*.DCF"))) {
        return std::nullopt;
    }
    return std::filesystem::path(url.toLocalFile().toStdString());
}

// The Cancel question is open for as long as this lives.
class CancelQuestion {
public:
    explicit CancelQuestion(QtView& view) : view_(view), open_(view.beginCancelQuestion()) {}
    ~CancelQuestion() {
        if (open_) {
            view_.endCancelQuestion();
        }
    }
    CancelQuestion(const CancelQuestion&) = delete;
    CancelQuestion& operator=(const CancelQuestion&) = delete;
    [[nodiscard]] bool open() const { return open_; }

private:
    QtView& view_;
    bool open_;
};

} // namespace

FrmMain::FrmMain(run::RunRequest& request, db::Connection& connection, QWidget* parent)
    : QMainWindow(parent), request_(request), connection_(connection), view_(*this),
      worker_(*this) {
    setObjectName(QString::fromLatin1(control::frmMain));
    setWindowTitle(QStringLiteral("Conversion - Convert Data (Stopped)"));
    buildMenus();
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(buildToolbar(central));
    layout->addLayout(buildSelection(central));
    layout->addLayout(buildCounters(central));
    layout->addLayout(buildRunLabels(central));
    layout->addStretch();
    setCentralWidget(central);
    buildStatusBar();
    placeLog(5280, 4800, 2295, 615);

    connect(cmdGetFile_, &QPushButton::clicked, this, &FrmMain::getFile);
    connect(cmdRun_, &QPushButton::clicked, this, &FrmMain::startRun);
    connect(cmdStop_, &QPushButton::clicked, this, &FrmMain::cancelRun);
    connect(cmdExit_, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdViewErrorFile_, &QPushButton::clicked, this, &FrmMain::toggleLog);
    connect(&clock_, &QTimer::timeout, this, &FrmMain::showClock);
    clock_.start(1000);
    showClock();
    view_.setProgressListener(
        [this](std::int64_t value, std::int64_t maximum) { showRate(value, maximum); });
    setAcceptDrops(true);
    load();
}

FrmMain::~FrmMain() {
    if (worker_.running()) {
        // Going away mid-run: the run stops at its next check, saving nothing.
        cancelRequested_ = true;
        view_.shutDown();
        worker_.join();
    }
}

void FrmMain::load() {
    cmdStop_->setText(QStringLiteral("&Cancel"));
    cmdStop_->setEnabled(false);
    lblToolBar_->setText(QStringLiteral("Press the Get File icon to find your conversion file."));
}

void FrmMain::getFile() {
    if (running()) {
        return;
    }
    FrmSetup setup(request_, view_, this);
    setup.exec();
}

void FrmMain::chooseFile(const std::filesystem::path& path) {
    if (running()) {
        return;
    }
    try {
        chooseDcfFile(request_, view_, path);
    } catch (const std::runtime_error&) {
        showBadFileName(this);
    }
}

void FrmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (!running() && droppedDcfFile(event->mimeData())) {
        event->acceptProposedAction();
    }
}

void FrmMain::dropEvent(QDropEvent* event) {
    const auto path = droppedDcfFile(event->mimeData());
    if (running() || !path) {
        return;
    }
    event->acceptProposedAction();
    chooseFile(*path);
}

void FrmMain::startRun() {
    if (running()) {
        return;
    }
    if (rtbLog_->isVisible()) {
        toggleLog();
    }
    rate_.restart(app::RunRate::Clock::now());
    statusRate_->clear();
    statusRate_->setVisible(true);
    worker_.start(request_, connection_, view_, cancelRequested_,
                  [this](const app::RunResult& result, const std::string& error) {
                      finishRun(result, error);
                  });
}

void FrmMain::finishRun(const app::RunResult& result, const std::string& error) {
    view_.runEnded();
    statusRate_->setVisible(false);
    logPath_ = result.logPath;
    entriesPath_ = result.entriesPath;
    if (!error.empty()) {
        // The engine settles every ending itself; this is the one it could not.
        app::showIdle(view_, request_.file.name);
        showMessage(this, QMessageBox::Critical, QStringLiteral("dcfconvert"),
                    QString::fromStdString(error));
    }
    emit runEnded();
}

void FrmMain::cancelRun() {
    if (!running() || cancelRequested_) {
        return;
    }
    const CancelQuestion question(view_);
    if (question.open()) {
        app::askToCancel(cancelRequested_, view_);
    }
}

void FrmMain::toggleLog() {
    if (cmdViewErrorFile_->text() == kViewLogCaption) {
        cmdViewErrorFile_->setText(kCloseLogCaption);
        const std::vector<log::Entry> entries = readEntries(entriesPath_);
        if (entries.empty()) {
            placeLog(130, 5280, 8900, 2200);
        } else {
            logEntries_->showEntries(entries);
            placeLogBesideEntries();
            logEntries_->setVisible(true);
            logEntries_->raise();
        }
        rtbLog_->setPlainText(readLog(logPath_));
        rtbLog_->setVisible(true);
        rtbLog_->raise();
    } else {
        cmdViewErrorFile_->setText(kViewLogCaption);
        placeLog(5280, 4800, 2295, 615);
        rtbLog_->setVisible(false);
        logEntries_->setVisible(false);
    }
}

void FrmMain::showAbout() {
    FrmAbout about(this);
    about.exec();
}

void FrmMain::showClock() {
    const auto now = std::chrono::system_clock::now();
    statusDate_->setText(QString::fromStdString(log::logDate(now)));
    statusTime_->setText(QString::fromStdString(log::clockTime12(now)));
}

void FrmMain::showRate(std::int64_t value, std::int64_t maximum) {
    // A rate taken over less than half a second is mostly noise.
    constexpr std::chrono::milliseconds kSettleTime{500};
    const auto now = app::RunRate::Clock::now();
    rate_.update(value, maximum, now);
    statusRate_->setText(QString::fromStdString(rateText(rate_.estimate(now, kSettleTime))));
}

void FrmMain::closeEvent(QCloseEvent* event) {
    // A run ends through Cancel, never by closing the window under it.
    if (running()) {
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace dcf::ui
