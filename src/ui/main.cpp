#include "app/program_folders.h"
#include "app/start_up.h"
#include "frm_main.h"
#include "instance_lock.h"
#include "program_icon.h"
#include "run/run_request.h"
#include "start_up_ui.h"
#include "window_options.h"

#include <QApplication>
#include <iostream>

int main(int argc, char* argv[]) {
    const dcf::ui::WindowOptions options =
        dcf::ui::parseWindowOptions(argc, argv, std::cout, std::cerr);
    if (!options.start) {
        return options.exitStatus;
    }
    // The command line is read above in full; Qt gets the program's name
    // only, so that a file name is never taken for one of Qt's options.
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("dcfconvert"));
    QApplication::setApplicationVersion(QStringLiteral(DCF_VERSION));
    QApplication::setWindowIcon(dcf::ui::programIcon());
    // Lets the desktop match the windows to dcfconvert.desktop and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("dcfconvert"));

    dcf::ui::QtInstanceLock lock;
    dcf::ui::QtStartUpUi startUpUi;
    dcf::run::RunRequest request;
    const dcf::app::StartUpResult started = dcf::app::startUp(
        lock, startUpUi, request, dcf::app::kDefaultTarget, dcf::app::programFolder());
    if (started.outcome != dcf::app::StartUpResult::Outcome::Started) {
        return started.exitStatus();
    }
    dcf::ui::FrmMain window(request, *started.connection);
    window.show();
    if (options.file) {
        // A file opened from a file manager: chosen as Get File chooses one.
        window.chooseFile(*options.file);
    }
    return QApplication::exec();
}
