#include "frm_setup.h"

#include "app/program_folders.h"
#include "app/selected_file.h"
#include "dcf/control_names.h"
#include "message_box.h"
#include "named_control.h"
#include "off_thread.h"
#include "ui_settings.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <stdexcept>

namespace dcf::ui {
namespace {

const QString kNoPath = QStringLiteral("No Path");

std::filesystem::path toPath(const QString& text) {
    return {text.toStdString()};
}

QString fromPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

// The hourglass while the chosen file is read to its end.
class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

} // namespace

void chooseDcfFile(run::RunRequest& request, run::View& view, const std::filesystem::path& path) {
    std::optional<app::FilerLine> filer;
    {
        const BusyPointer busy;
        // A file of a million lines takes a while to read to its last filer
        // line; the window keeps painting meanwhile.
        filer = runOffTheWindowThread([&path] { return app::readFileFiler(path); });
    }
    request.file = app::selectedFile(path, filer);
    const run::SelectedFile& file = request.file;
    view.setText(control::lblImportFileName, file.filerName.empty() ? file.name : file.filerName);
    view.setText(control::lblFilerType, file.filerType);
    view.setText(control::lblFilerID, file.filerId);
    view.setText(control::lblToolBar, "Press the Run icon to start your conversion.");
    view.setEnabled(control::mnuRun, true);
    rememberLastFolder(fromPath(path.parent_path()));
}

void showBadFileName(QWidget* parent) {
    showMessage(parent, QMessageBox::Information, QStringLiteral("Bad FileName"),
                QStringLiteral("Previous Conversion File is not valid, please enter a new file"));
}

FrmSetup::FrmSetup(run::RunRequest& request, run::View& view, QWidget* parent)
    : QDialog(parent), request_(request), view_(view) {
    setObjectName(QStringLiteral("frmSetup"));
    setWindowTitle(QStringLiteral("Choose A File"));
    setModal(true);
    buildControls();
    load();
}

void FrmSetup::buildControls() {
    auto* frame = named(new QGroupBox(QStringLiteral("Choose Path"), this), "fraPath");
    auto* lists = new QGridLayout(frame);
    lists->addWidget(new QLabel(QStringLiteral("Look In:"), frame), 0, 0);
    drvList_ = named(new QComboBox(frame), "drvList");
    lists->addWidget(drvList_, 0, 1);
    dirList_ = named(new QTreeWidget(frame), "dirList");
    dirList_->setHeaderHidden(true);
    dirList_->setMinimumSize(260, 240);
    lists->addWidget(dirList_, 1, 0, 1, 2);
    fillist_ = named(new QListWidget(frame), "fillist");
    fillist_->setMinimumSize(220, 240);
    lists->addWidget(fillist_, 0, 2, 2, 1);

    auto* fileName = named(new QLabel(QStringLiteral("File &Name"), this), "lblFileName");
    txtFileName_ = named(new QLineEdit(this), "txtFileName");
    fileName->setBuddy(txtFileName_);
    auto* fileType = named(new QLabel(QStringLiteral("Files of &Type"), this), "lblFileType");
    cboFileType_ = named(new QComboBox(this), "cboFileType");
    cboFileType_->addItem(QStringLiteral("*.DCF"));
    fileType->setBuddy(cboFileType_);
    auto* logFile = named(new QLabel(QStringLiteral("Log File"), this), "lblLogFile");
    lblLogFilePath_ = named(new QLabel(this), "lblLogFilePath");
    lblLogFilePath_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* change = named(new QPushButton(QStringLiteral("Change"), this), "cmdChangeLogFile");

    auto* fields = new QGridLayout();
    fields->addWidget(fileName, 0, 0);
    fields->addWidget(txtFileName_, 0, 1, 1, 2);
    fields->addWidget(fileType, 1, 0);
    fields->addWidget(cboFileType_, 1, 1, 1, 2);
    fields->addWidget(logFile, 2, 0);
    fields->addWidget(lblLogFilePath_, 2, 1);
    fields->addWidget(change, 2, 2);
    fields->setColumnStretch(1, 1);

    auto* choose = named(new QPushButton(QStringLiteral("Choose &File"), this), "cmdChooseFile");
    choose->setDefault(true);
    auto* cancel = named(new QPushButton(QStringLiteral("&Cancel"), this), "cmdCancel");
    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    buttons->addWidget(choose);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    connect(choose, &QPushButton::clicked, this, &FrmSetup::chooseFile);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(change, &QPushButton::clicked, this, &FrmSetup::changeLogFile);
    connect(drvList_, &QComboBox::activated, this, &FrmSetup::driveChanged);
    connect(dirList_, &QTreeWidget::itemClicked, this, &FrmSetup::folderClicked);
    connect(dirList_, &QTreeWidget::itemActivated, this, &FrmSetup::folderOpened);
    connect(fillist_, &QListWidget::itemClicked, this, &FrmSetup::fileClicked);
    connect(fillist_, &QListWidget::itemActivated, this, &FrmSetup::fileOpened);
    connect(cboFileType_, &QComboBox::currentIndexChanged, this,
            [this] { fillFiles(filesFolder_); });
    connect(txtFileName_, &QLineEdit::textEdited, this, &FrmSetup::importPath);
}

void FrmSetup::load() {
    lblLogFilePath_->setText(request_.logsFolder.empty() ? kNoPath : fromPath(request_.logsFolder));
    fillDrives();
    // The folder of the last file chosen, else where the data files live.
    const QString last = lastFolder();
    const bool opened = !last.isEmpty() && QDir(last).exists() && enterFolder(last);
    if (!opened && !enterFolder(fromPath(app::chooseDataFolder(app::programFolder())))) {
        enterFolder(QDir::homePath());
    }
    view_.setText(control::lblToolBar, "Press the Run icon to start your conversion.");
}

QString FrmSetup::selectedFileName() const {
    const QListWidgetItem* item = fillist_->currentItem();
    if (item != nullptr && item->isSelected()) {
        return item->text();
    }
    return txtFileName_->text().trimmed();
}

void FrmSetup::chooseFile() {
    if (!applyLogsFolder()) {
        return;
    }
    const QString name = selectedFileName();
    if (name.isEmpty() && mode_ == ListMode::LogFile) {
        // Only the logs folder was changed: the chosen file stays chosen.
        accept();
        return;
    }
    txtFileName_->setText(name);
    if (name.isEmpty()) {
        // Nothing chosen: the run has no file until Get File finds one.
        request_.file = app::selectedFile(toPath(filesFolder_) / "", std::nullopt);
        view_.setText(control::lblImportFileName, "No File Selected");
        view_.setText(control::lblFilerType, "");
        view_.setText(control::lblFilerID, "");
        view_.setText(control::lblToolBar, "Press the Get File icon to find your conversion file.");
        accept();
        return;
    }
    try {
        chooseDcfFile(request_, view_, toPath(filesFolder_) / toPath(name));
    } catch (const std::runtime_error&) {
        showBadFileName(this);
        txtFileName_->setText(QStringLiteral("No File"));
        return;
    }
    accept();
}

bool FrmSetup::applyLogsFolder() {
    const QString shown = lblLogFilePath_->text();
    if (shown == kNoPath || toPath(shown) == request_.logsFolder) {
        return true;
    }
    try {
        app::checkLogsFolderWritable(toPath(shown));
    } catch (const std::runtime_error&) {
        showBadPath(QStringLiteral("File path is not valid"));
        return false;
    }
    request_.logsFolder = toPath(shown);
    return true;
}

void FrmSetup::changeLogFile() {
    findChild<QWidget*>(QStringLiteral("fraPath"))->setVisible(true);
    mode_ = ListMode::LogFile;
    const QString logs = lblLogFilePath_->text();
    if (logs.isEmpty() || logs == kNoPath || !enterFolder(logs)) {
        showBadPath(QStringLiteral("File path is not valid"));
    }
}

void FrmSetup::importPath() {
    mode_ = ListMode::Import;
    if (!QDir(filesFolder_).exists()) {
        showBadPath(QStringLiteral("Import path is not valid"));
    }
}

void FrmSetup::showBadPath(const QString& text) {
    showMessage(this, QMessageBox::Information, QStringLiteral("Bad Path"), text);
}

} // namespace dcf::ui
