#include "frm_main.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace dcf::ui {
namespace {

template <typename Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

FrmMain::FrmMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Conversion - Convert Data (Stopped)"));

    auto* central = new QWidget(this);
    auto* toolbar = named(new QWidget(central), "picToolbar");
    auto* buttons = new QHBoxLayout(toolbar);
    cmdGetFile_ = named(new QPushButton(QStringLiteral("&Get File"), toolbar), "cmdGetFile");
    cmdRun_ = named(new QPushButton(QStringLiteral("&Run"), toolbar), "cmdRun");
    cmdStop_ = named(new QPushButton(toolbar), "cmdStop");
    cmdExit_ = named(new QPushButton(QStringLiteral("E&xit"), toolbar), "cmdExit");
    for (QPushButton* button : {cmdGetFile_, cmdRun_, cmdStop_, cmdExit_}) {
        buttons->addWidget(button);
    }
    buttons->addStretch();

    lblImportFileName_ =
        named(new QLabel(QStringLiteral("No File Selected"), central), "lblImportFileName");
    lblToolBar_ = named(new QLabel(central), "lblToolBar");

    auto* layout = new QVBoxLayout(central);
    layout->addWidget(toolbar);
    auto* filer = new QHBoxLayout();
    filer->addWidget(new QLabel(QStringLiteral("Filer Name:"), central));
    filer->addWidget(lblImportFileName_, 1);
    layout->addLayout(filer);
    layout->addWidget(lblToolBar_);
    layout->addStretch();
    setCentralWidget(central);

    cmdStop_->setEnabled(false);
    connect(cmdExit_, &QPushButton::clicked, this, &QWidget::close);
    load();
}

void FrmMain::load() {
    cmdStop_->setText(QStringLiteral("&Cancel"));
    lblToolBar_->setText(QStringLiteral("Press the Get File icon to find your conversion file."));
}

} // namespace dcf::ui
