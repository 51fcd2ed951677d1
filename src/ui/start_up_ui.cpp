#include "start_up_ui.h"

#include "message_box.h"

namespace dcf::ui {

void QtStartUpUi::showAlreadyRunning() {
    showMessage(nullptr, QMessageBox::Information, QStringLiteral("Running"),
                QStringLiteral("Program is already running."));
}

void QtStartUpUi::showCannotOpenDatabase(const std::string& text) {
    showMessage(nullptr, QMessageBox::Critical, QStringLiteral("Conversion - DCF Data"),
                QString::fromStdString(text));
}

} // namespace dcf::ui
