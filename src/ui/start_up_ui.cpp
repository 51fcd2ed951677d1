#include "start_up_ui.h"

#include <QMessageBox>

namespace dcf::ui {

void QtStartUpUi::showAlreadyRunning() {
    QMessageBox box(QMessageBox::Information, QStringLiteral("Running"),
                    QStringLiteral("Program is already running."), QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
}

void QtStartUpUi::showCannotOpenDatabase(const std::string& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Conversion - DCF Data"),
                    QString::fromStdString(text), QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
}

} // namespace dcf::ui
