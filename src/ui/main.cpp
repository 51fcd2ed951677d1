#include "app/program_folders.h"
#include "app/start_up.h"
#include "frm_main.h"
#include "instance_lock.h"
#include "program_icon.h"
#include "run/run_request.h"
#include "start_up_ui.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
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
    return QApplication::exec();
}
