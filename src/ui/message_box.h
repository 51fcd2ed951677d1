#pragma once

#include <QMessageBox>
#include <functional>

namespace dcf::ui {

// Every message box of the program is shown through showMessageBox, so that
// each one is application-modal and a test can see it fully set up.

// A test's stand-in for the user: called with the box instead of showing
// it, returns the button the user would have pressed.
using MessageBoxHook = std::function<QMessageBox::StandardButton(QMessageBox& box)>;

// Installs `hook` (an empty one shows boxes again); returns the one it
// replaces. Window thread only.
MessageBoxHook setMessageBoxHook(MessageBoxHook hook);

// Shows `box` application-modal and returns the button pressed, or what the
// hook answers for it.
QMessageBox::StandardButton showMessageBox(QMessageBox& box);

// An OK-only box with `icon`, `title` and `text`, OK being its default.
void showMessage(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                 const QString& text);

} // namespace dcf::ui
