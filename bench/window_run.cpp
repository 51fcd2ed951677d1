// A whole conversion in the window program's main window, timed from the Run
// click until the window shows the run's end, to set beside the batch front
// end on the same file:
//   window_run --database FILE.db --logs DIR FILE.DCF_ZV
// Every box is answered as the batch front end answers its questions by
// default. Prints "window seconds=S boxes=N"; exits 2 when the run did not
// save.
#include "bench_support.h"
#include "db/connection.h"
#include "db/error.h"
#include "frm_main.h"
#include "message_box.h"
#include "run/run_request.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

// A run that has not ended by then is taken as hung.
constexpr int kTimeoutMilliseconds = 3600 * 1000;

struct Arguments {
    std::string database;
    std::filesystem::path logs;
    std::filesystem::path file;
};

Arguments parseArguments(const QStringList& words) {
    Arguments parsed;
    for (qsizetype i = 1; i < words.size(); ++i) {
        const QString& word = words[i];
        const bool hasValue = i + 1 < words.size();
        if (word == QStringLiteral("--database") && hasValue) {
            parsed.database = words[++i].toStdString();
        } else if (word == QStringLiteral("--logs") && hasValue) {
            parsed.logs = words[++i].toStdString();
        } else if (!word.startsWith(QLatin1Char('-')) && parsed.file.empty()) {
            parsed.file = word.toStdString();
        } else {
            throw std::invalid_argument("unexpected argument " + word.toStdString());
        }
    }
    if (parsed.database.empty() || parsed.logs.empty() || parsed.file.empty()) {
        throw std::invalid_argument("usage: window_run --database FILE.db --logs DIR FILE.DCF_ZV");
    }
    return parsed;
}

// Stands in for the user at every box, with the batch front end's default
// answers: run, add a similar name under a new id, stop at a duplicate
// filer, save. Counts the boxes and notes a critical one, which only a
// failure shows.
class BoxAnswers {
public:
    BoxAnswers()
        : previous_(dcf::ui::setMessageBoxHook([this](QMessageBox& box) { return answer(box); })) {}
    ~BoxAnswers() { dcf::ui::setMessageBoxHook(std::move(previous_)); }
    BoxAnswers(const BoxAnswers&) = delete;
    BoxAnswers& operator=(const BoxAnswers&) = delete;

    [[nodiscard]] int count() const { return count_; }
    [[nodiscard]] const QString& failure() const { return failure_; }

private:
    QMessageBox::StandardButton answer(QMessageBox& box) {
        ++count_;
        if (box.icon() == QMessageBox::Critical && failure_.isEmpty()) {
            failure_ = box.text();
        }
        if (!box.standardButtons().testFlag(QMessageBox::Yes)) {
            return QMessageBox::Ok;
        }
        if (box.windowTitle() == QStringLiteral("Importing Names")) {
            return QMessageBox::No;
        }
        if (box.text().contains(QStringLiteral("that is a Duplicate of the Account"))) {
            return QMessageBox::No;
        }
        // The run's confirmation and whichever save question closes it.
        return QMessageBox::Yes;
    }

    int count_ = 0;
    QString failure_;
    dcf::ui::MessageBoxHook previous_;
};

// Waits in the event loop for the window to end its run; false after the
// timeout.
bool waitForRunEnd(dcf::ui::FrmMain& window) {
    QEventLoop loop;
    bool ended = false;
    QObject::connect(&window, &dcf::ui::FrmMain::runEnded, &loop, [&] {
        ended = true;
        loop.quit();
    });
    QTimer::singleShot(kTimeoutMilliseconds, &loop, &QEventLoop::quit);
    loop.exec();
    return ended && !window.running();
}

// Clicks Run and returns the seconds until the run has ended and the
// window is idle again.
double timeRun(dcf::ui::FrmMain& window) {
    auto* run = window.findChild<QAbstractButton*>(QStringLiteral("cmdRun"));
    if (run == nullptr) {
        throw std::runtime_error("the window has no Run command");
    }
    const dcf::bench::Stopwatch watch;
    run->click();
    if (!waitForRunEnd(window)) {
        throw std::runtime_error("the run did not end within the timeout");
    }
    const double seconds = watch.seconds();
    if (!run->isEnabled()) {
        throw std::runtime_error("the Run command is still disabled after the run");
    }
    return seconds;
}

// Only a saved run leaves "Processed ..." in the status bar.
void checkSaved(dcf::ui::FrmMain& window, const BoxAnswers& boxes) {
    if (!boxes.failure().isEmpty()) {
        throw std::runtime_error("the run failed: " + boxes.failure().toStdString());
    }
    auto* status = window.findChild<QLabel*>(QStringLiteral("statbarMainPanel1"));
    if (status == nullptr || !status->text().startsWith(QStringLiteral("Processed "))) {
        throw std::runtime_error("the run did not save: " +
                                 (status != nullptr ? status->text().toStdString() : ""));
    }
}

int runInWindow(const Arguments& arguments) {
    if (!std::filesystem::is_regular_file(arguments.file)) {
        throw std::runtime_error("no file " + arguments.file.string());
    }
    std::filesystem::create_directories(arguments.logs);
    dcf::run::RunRequest request;
    request.logsFolder = arguments.logs;
    const std::unique_ptr<dcf::db::Connection> connection =
        dcf::db::Connection::open(arguments.database);
    BoxAnswers boxes;
    dcf::ui::FrmMain window(request, *connection);
    window.show();
    // As a drop or the chooser picks it.
    window.chooseFile(arguments.file);
    if (request.file.path != arguments.file) {
        throw std::runtime_error("the window did not take " + arguments.file.string());
    }
    const double seconds = timeRun(window);
    checkSaved(window, boxes);
    std::printf("window seconds=%.3f boxes=%d\n", seconds, boxes.count());
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    try {
        return runInWindow(parseArguments(QApplication::arguments()));
    } catch (const dcf::db::DbError& error) {
        std::fprintf(stderr, "window_run: %s\n", error.message().c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "window_run: %s\n", error.what());
    }
    return 2;
}
