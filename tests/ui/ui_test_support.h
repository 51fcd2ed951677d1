#pragma once

#include "message_box.h"

#include <QMessageBox>
#include <deque>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

class QMainWindow;

// Failures show a QString as its text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace dcf::ui::test {

// Processes the window's events until `done` holds; false when it never
// does (after a generous cap, so that a fault fails the test instead of
// hanging it).
bool processUntil(const std::function<bool()>& done);

// Answers the program's message boxes in place of the user, in order: runs
// each script entry's check on its box, fully set up, then answers with the
// entry's button. A box with no entry left is answered with its default
// button. Boxes are never shown while it lives.
class BoxAnswerer {
public:
    using Check = std::function<void(QMessageBox& box)>;
    BoxAnswerer();
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;
    void answer(QMessageBox::StandardButton button, Check check = {});

    // What the user sees of a box, and the button answered.
    struct Seen {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        bool applicationModal = false;
    };

    // Title and text of every box answered, "title|text".
    std::vector<std::string> boxes;
    std::vector<Seen> seen;

private:
    QMessageBox::StandardButton answerBox(QMessageBox& box);

    std::deque<std::pair<QMessageBox::StandardButton, Check>> script_;
    MessageBoxHook previous_;
};

// Whether the named control takes input: a menu by its menu-bar entry.
bool controlEnabled(QMainWindow& window, const char* name);
bool controlVisible(QMainWindow& window, const char* name);
// The text of a named label or button, or the window's caption for its own
// name.
QString controlText(QMainWindow& window, const char* name);

} // namespace dcf::ui::test
