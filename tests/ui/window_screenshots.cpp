// Takes the README's pictures of the window: idle with a file chosen, in
// the middle of a run, after a run with its log open, the file chooser and
// the About window.
// scripts/screenshot runs it under a virtual X server, with the sample and
// the logs folder in a neutral folder of their own, since the pictures show
// both folders.
//
//   ui_screenshots SAMPLE.DCF_ZV OUTPUT_FOLDER LOGS_FOLDER

#include "frm_about.h"
#include "frm_main.h"
#include "frm_setup.h"
#include "message_box.h"
#include "run/run_request.h"
#include "test_database.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QThread>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

namespace {

using dcf::ui::FrmMain;

// Lets the window paint and settle for `milliseconds`, or until `done`.
bool wait(
    int milliseconds, const std::function<bool()>& done = [] { return false; }) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < milliseconds) {
        if (done()) {
            return true;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return done();
}

void save(QWidget& widget, const QString& folder, const char* name) {
    wait(300);
    const QString path = folder + QLatin1Char('/') + QString::fromLatin1(name);
    if (!widget.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    std::printf("%s\n", qPrintable(path));
}

QAbstractButton* button(FrmMain& window, const char* name) {
    return window.findChild<QAbstractButton*>(QString::fromLatin1(name));
}

int count(FrmMain& window, const char* label) {
    return window.findChild<QLabel*>(QString::fromLatin1(label))->text().toInt();
}

// Runs the chosen file to its end, every question answered Yes.
void runToEnd(FrmMain& window) {
    bool ended = false;
    const auto connection = QObject::connect(&window, &FrmMain::runEnded, [&] { ended = true; });
    button(window, "cmdRun")->click();
    wait(600'000, [&] { return ended; });
    QObject::disconnect(connection);
}

// The sample with its last contribution line repeated many times, so that
// a run lasts long enough to be seen at work.
std::filesystem::path longFile(const std::filesystem::path& sample,
                               const std::filesystem::path& folder) {
    std::ifstream in(sample, std::ios::binary);
    const std::filesystem::path path = folder / "long-report.DCF_ZV";
    std::ofstream out(path, std::ios::binary);
    std::string line;
    std::string contribution;
    while (std::getline(in, line)) {
        out << line << '\n';
        if (line.starts_with("RCPT,")) {
            contribution = line;
        }
    }
    for (int copy = 0; copy < 400'000; ++copy) {
        out << contribution << '\n';
    }
    return path;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("dcfconvert"));
    if (argc != 4) {
        std::fprintf(stderr, "usage: ui_screenshots SAMPLE.DCF_ZV OUTPUT_FOLDER LOGS_FOLDER\n");
        return 2;
    }
    const std::filesystem::path sample = argv[1];
    const QString output = QString::fromLocal8Bit(argv[2]);
    const std::filesystem::path logs = argv[3];

    const dcf::test::TestDatabase database(dcf::test::Target::NativeSqlite);
    const auto connection = database.connect();
    dcf::run::RunRequest request;
    request.logsFolder = logs;
    dcf::ui::setMessageBoxHook([](QMessageBox& box) {
        return box.standardButtons().testFlag(QMessageBox::Yes) ? QMessageBox::Yes
                                                                : QMessageBox::Ok;
    });

    FrmMain window(request, *connection);
    window.resize(760, 720);
    window.show();
    window.chooseFile(sample);
    save(window, output, "idle.png");

    dcf::ui::FrmSetup chooser(request, window.view(), &window);
    chooser.openFolder(QString::fromStdString(sample.parent_path().string()));
    chooser.show();
    save(chooser, output, "chooser.png");
    chooser.reject();

    window.chooseFile(longFile(sample, sample.parent_path()));
    button(window, "cmdRun")->click();
    // Both columns at work: the contributions are being imported.
    wait(600'000, [&] { return count(window, "lblImpRcptCount") > 20'000; });
    save(window, output, "running.png");
    button(window, "cmdStop")->click();
    wait(600'000, [&] { return !window.running(); });

    window.chooseFile(sample);
    runToEnd(window);
    save(window, output, "finished.png");
    button(window, "cmdViewErrorFile")->click();
    save(window, output, "log.png");

    dcf::ui::FrmAbout about(&window);
    about.show();
    save(about, output, "about.png");
    return 0;
}
