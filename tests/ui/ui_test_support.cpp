#include "ui_test_support.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QThread>

namespace dcf::ui::test {

bool processUntil(const std::function<bool()>& done) {
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > 60'000) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

BoxAnswerer::BoxAnswerer()
    : previous_(setMessageBoxHook([this](QMessageBox& box) { return answerBox(box); })) {}

BoxAnswerer::~BoxAnswerer() {
    setMessageBoxHook(std::move(previous_));
}

void BoxAnswerer::answer(QMessageBox::StandardButton button, Check check) {
    script_.emplace_back(button, std::move(check));
}

QMessageBox::StandardButton BoxAnswerer::answerBox(QMessageBox& box) {
    boxes.push_back((box.windowTitle() + QLatin1Char('|') + box.text()).toStdString());
    seen.push_back({box.windowTitle(), box.text(), box.icon(), box.standardButtons(),
                    box.standardButton(box.defaultButton()),
                    box.windowModality() == Qt::ApplicationModal});
    if (script_.empty()) {
        return box.standardButton(box.defaultButton());
    }
    auto [wanted, check] = std::move(script_.front());
    script_.pop_front();
    if (check) {
        check(box);
    }
    return wanted;
}

namespace {

QAction* action(QMainWindow& window, const char* name) {
    if (auto* menu = window.findChild<QMenu*>(QString::fromLatin1(name))) {
        return menu->menuAction();
    }
    return window.findChild<QAction*>(QString::fromLatin1(name));
}

} // namespace

bool controlEnabled(QMainWindow& window, const char* name) {
    if (QAction* entry = action(window, name)) {
        return entry->isEnabled();
    }
    auto* widget = window.findChild<QWidget*>(QString::fromLatin1(name));
    return widget != nullptr && widget->isEnabled();
}

bool controlVisible(QMainWindow& window, const char* name) {
    auto* widget = window.findChild<QWidget*>(QString::fromLatin1(name));
    // Not shown on screen in every test: the widget's own flag is what counts.
    return widget != nullptr && !widget->isHidden();
}

QString controlText(QMainWindow& window, const char* name) {
    const QString control = QString::fromLatin1(name);
    if (control == window.objectName()) {
        return window.windowTitle();
    }
    if (auto* label = window.findChild<QLabel*>(control)) {
        return label->text();
    }
    if (auto* button = window.findChild<QAbstractButton*>(control)) {
        return button->text();
    }
    return QStringLiteral("<no control %1>").arg(control);
}

} // namespace dcf::ui::test
