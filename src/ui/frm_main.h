#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QPushButton>

namespace dcf::ui {

// The program's working window. Each control's objectName is its control
// name, so tests and the engine's view address them by that name.
class FrmMain final : public QMainWindow {
    Q_OBJECT

public:
    explicit FrmMain(QWidget* parent = nullptr);

private:
    void load();

    QPushButton* cmdGetFile_ = nullptr;
    QPushButton* cmdRun_ = nullptr;
    QPushButton* cmdStop_ = nullptr;
    QPushButton* cmdExit_ = nullptr;
    QLabel* lblImportFileName_ = nullptr;
    QLabel* lblToolBar_ = nullptr;
};

} // namespace dcf::ui
