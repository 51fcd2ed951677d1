#include "message_box.h"

#include <utility>

namespace dcf::ui {
namespace {

MessageBoxHook& hook() {
    static MessageBoxHook installed;
    return installed;
}

} // namespace

MessageBoxHook setMessageBoxHook(MessageBoxHook replacement) {
    return std::exchange(hook(), std::move(replacement));
}

QMessageBox::StandardButton showMessageBox(QMessageBox& box) {
    box.setWindowModality(Qt::ApplicationModal);
    if (hook()) {
        return hook()(box);
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void showMessage(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                 const QString& text) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.setDefaultButton(QMessageBox::Ok);
    showMessageBox(box);
}

} // namespace dcf::ui
