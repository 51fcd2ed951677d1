#include "system_info.h"

#include "message_box.h"
#include "program_identity.h"

#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QtDebug>

namespace dcf::ui {

const QStringList& systemInfoPrograms() {
    static const QStringList programs = {
        QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
        QStringLiteral("gnome-system-monitor"), QStringLiteral("xfce4-taskmanager")};
    return programs;
}

QString findSystemInfoProgram(const QStringList& candidates) {
    for (const QString& name : candidates) {
        QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty()) {
            return path;
        }
    }
    return {};
}

bool startSystemInfoProgram(const QStringList& candidates) {
    for (const QString& name : candidates) {
        // One at a time, so that a program that is found but will not start
        // gives way to the next.
        const QString path = findSystemInfoProgram({name});
        if (path.isEmpty()) {
            continue;
        }
        if (QProcess::startDetached(path, {})) {
            return true;
        }
        qWarning().noquote() << "System Info: could not start" << path;
    }
    return false;
}

void StartSysInfo(QWidget* parent) {
    if (startSystemInfoProgram(systemInfoPrograms())) {
        return;
    }
    showMessage(parent, QMessageBox::Information, programTitle(),
                QStringLiteral("System Information Is Unavailable At This Time"));
}

} // namespace dcf::ui
