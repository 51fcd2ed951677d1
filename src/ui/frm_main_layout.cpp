// How the main window is put together: its controls, each named by its
// control name, in the arrangement the user knows.

#include "dcf/control_names.h"
#include "dcf/record_types.h"
#include "frm_main.h"
#include "named_control.h"
#include "program_identity.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace dcf::ui {
namespace {

QLabel* label(QWidget* parent, const char* name, const char* text = "") {
    return named(new QLabel(QString::fromUtf8(text), parent), name);
}

QLabel* hiddenLabel(QWidget* parent, const char* name, const char* text) {
    QLabel* shown = label(parent, name, text);
    shown->setVisible(false);
    return shown;
}

QLabel* countLabel(QWidget* parent, const char* name) {
    QLabel* count = label(parent, name, "0");
    count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    count->setMinimumWidth(80);
    return count;
}

// A place given in twips, as the viewer's places are, in the surface's pixels.
QRect inPixels(const QWidget& surface, int left, int top, int width, int height) {
    const auto across = [&surface](int twips) { return twips * surface.logicalDpiX() / 1440; };
    const auto down = [&surface](int twips) { return twips * surface.logicalDpiY() / 1440; };
    return {across(left), down(top), across(width), down(height)};
}

} // namespace

void FrmMain::buildMenus() {
    QMenu* file = named(menuBar()->addMenu(QStringLiteral("&File")), control::mnuFile);
    connect(named(file->addAction(QStringLiteral("&Run")), control::mnuRun), &QAction::triggered,
            this, &FrmMain::startRun);
    connect(named(file->addAction(QStringLiteral("E&xit")), control::mnuFileExit),
            &QAction::triggered, this, &QWidget::close);

    QMenu* setup = named(menuBar()->addMenu(QStringLiteral("&Import Setup")), control::mnuSetup);
    connect(named(setup->addAction(QStringLiteral("&Get Import File")), control::mnuSetupImport),
            &QAction::triggered, this, &FrmMain::getFile);

    // A menu-bar entry that acts when clicked, as the About menu always has.
    connect(named(menuBar()->addAction(QStringLiteral("&About")), control::mnuAbout),
            &QAction::triggered, this, &FrmMain::showAbout);
}

QWidget* FrmMain::buildToolbar(QWidget* parent) {
    auto* toolbar = named(new QFrame(parent), "picToolbar");
    toolbar->setFrameShape(QFrame::StyledPanel);
    auto* buttons = new QHBoxLayout(toolbar);
    buttons->setContentsMargins(4, 2, 4, 2);
    const auto button = [&](const char* name, const char* caption, QStyle::StandardPixmap icon) {
        auto* made = named(new QToolButton(toolbar), name);
        made->setText(QString::fromLatin1(caption));
        made->setIcon(style()->standardIcon(icon));
        made->setIconSize(QSize(32, 32));
        made->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        made->setAutoRaise(true);
        made->setMinimumWidth(72);
        buttons->addWidget(made);
        return made;
    };
    cmdGetFile_ = button(control::cmdGetFile, "&Get File", QStyle::SP_DialogOpenButton);
    cmdRun_ = button(control::cmdRun, "&Run", QStyle::SP_MediaPlay);
    cmdStop_ = button(control::cmdStop, "&Cancel", QStyle::SP_BrowserStop);
    cmdExit_ = button(control::cmdExit, "E&xit", QStyle::SP_DialogCloseButton);
    buttons->addStretch();
    return toolbar;
}

QLayout* FrmMain::buildSelection(QWidget* parent) {
    auto* grid = new QGridLayout();
    const std::pair<const char*, QLabel*> rows[] = {
        {"Filer Name:", label(parent, control::lblImportFileName, "No File Selected")},
        {"Filer Type:", label(parent, control::lblFilerType)},
        {"Filer ID:", label(parent, control::lblFilerID)}};
    int row = 0;
    for (const auto& [caption, value] : rows) {
        grid->addWidget(new QLabel(QString::fromLatin1(caption), parent), row, 0);
        grid->addWidget(value, row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    lblToolBar_ = label(parent, control::lblToolBar);
    grid->addWidget(lblToolBar_, row++, 0, 1, 2);
    grid->addWidget(label(parent, control::lblProcessingMessage), row, 0, 1, 2);
    return grid;
}

QLayout* FrmMain::buildCounters(QWidget* parent) {
    auto* grid = new QGridLayout();
    grid->addWidget(new QLabel(QStringLiteral("Input Records"), parent), 0, 1, Qt::AlignRight);
    grid->addWidget(new QLabel(QStringLiteral("Records Imported"), parent), 0, 2, Qt::AlignRight);
    grid->addWidget(new QLabel(QStringLiteral("Records Processed:"), parent), 1, 0);
    grid->addWidget(countLabel(parent, control::lblImportCount), 1, 1);
    int row = 2;
    for (const RecordType* type : windowRows()) {
        grid->addWidget(
            new QLabel(QString::fromUtf8(type->rowCaption.data(),
                                         static_cast<qsizetype>(type->rowCaption.size())),
                       parent),
            row, 0);
        grid->addWidget(countLabel(parent, type->stagedLabel), row, 1);
        grid->addWidget(countLabel(parent, type->importedLabel), row, 2);
        ++row;
    }
    const std::pair<const char*, const char*> errorRows[] = {
        {"Records w/Errors Imported:", control::lblErrorsImported},
        {"Records with Errors NOT Imported:", control::lblErrorsNOTImported}};
    const char* errorCounts[] = {control::lblErrorsImportedCount,
                                 control::lblErrorsNotImportedCount};
    for (std::size_t i = 0; i < std::size(errorRows); ++i) {
        grid->addWidget(hiddenLabel(parent, errorRows[i].second, errorRows[i].first), row, 0);
        QLabel* count = countLabel(parent, errorCounts[i]);
        count->setVisible(false);
        grid->addWidget(count, row, 2);
        ++row;
    }
    grid->setColumnStretch(3, 1);
    return grid;
}

QLayout* FrmMain::buildRunLabels(QWidget* parent) {
    auto* column = new QVBoxLayout();
    column->addWidget(hiddenLabel(parent, control::lblStartTime, "Import Start Time   ----"));
    column->addWidget(hiddenLabel(parent, control::lblFinishTime, "Import Finish Time  ----"));
    auto* errors = new QHBoxLayout();
    errors->addWidget(hiddenLabel(parent, control::LblErrorLog,
                                  "ERRORS Ocurred During Import! Check Error Log!"));
    cmdViewErrorFile_ = named(new QPushButton(QStringLiteral("&View Error File"), parent),
                              control::cmdViewErrorFile);
    cmdViewErrorFile_->setVisible(false);
    errors->addWidget(cmdViewErrorFile_);
    errors->addStretch();
    column->addLayout(errors);
    auto* progress = named(new QProgressBar(parent), control::pgbImport);
    progress->setVisible(false);
    column->addWidget(progress);
    column->addWidget(label(parent, "lblSupport", kTechnicalSupport));

    // The log viewer lies over the window where its button puts it.
    rtbLog_ = named(new QPlainTextEdit(parent), control::rtbLog);
    rtbLog_->setReadOnly(true);
    rtbLog_->setVisible(false);
    // A log with entries shows them as a table to the left of its text.
    logEntries_ = new LogEntriesView(parent);
    logEntries_->setVisible(false);
    return column;
}

void FrmMain::buildStatusBar() {
    QStatusBar* bar = named(statusBar(), control::statbarMain);
    bar->addWidget(label(bar, "statbarMainPanel1"), 1);
    // Lines per second and the time left, shown while a run goes.
    statusRate_ = hiddenLabel(bar, "statbarMainRate", "");
    bar->addPermanentWidget(statusRate_);
    statusDate_ = label(bar, "statbarMainDate");
    statusTime_ = label(bar, "statbarMainTime");
    bar->addPermanentWidget(statusDate_);
    bar->addPermanentWidget(statusTime_);
}

void FrmMain::placeLog(int left, int top, int width, int height) {
    rtbLog_->setGeometry(inPixels(*rtbLog_->parentWidget(), left, top, width, height));
}

void FrmMain::placeLogBesideEntries() {
    const QWidget& surface = *rtbLog_->parentWidget();
    constexpr int kLeft = 130;
    constexpr int kTop = 2580;
    constexpr int kHeight = 5280 + 2200 - kTop;
    constexpr int kGap = 60;
    const int width = surface.width() * 1440 / surface.logicalDpiX() - 2 * kLeft;
    const int tableWidth = width * 3 / 5;
    logEntries_->setGeometry(inPixels(surface, kLeft, kTop, tableWidth, kHeight));
    placeLog(kLeft + tableWidth + kGap, kTop, width - tableWidth - kGap, kHeight);
}

} // namespace dcf::ui
