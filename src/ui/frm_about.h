#pragma once

#include <QDialog>

class QLabel;
class QLayout;

namespace dcf::ui {

// The About window: the program's title, version, release date and what
// this build needs to run, with System Info beside OK. Each control's
// objectName is its control name.
class FrmAbout final : public QDialog {
    Q_OBJECT

public:
    explicit FrmAbout(QWidget* parent = nullptr);

private:
    QLayout* buildText();
    QLayout* buildRequirements();
    QLayout* buildButtons();
};

} // namespace dcf::ui
