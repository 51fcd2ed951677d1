// The chooser's three lists: drives, the folders of the open folder, and
// the files of a folder that match the file type.

#include "frm_setup.h"
#include "message_box.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QStyle>
#include <QTreeWidget>

namespace dcf::ui {
namespace {

constexpr int kPathRole = Qt::UserRole;

QTreeWidgetItem* folderItem(const QString& text, const QString& path, const QIcon& icon) {
    auto* item = new QTreeWidgetItem(QStringList{text});
    item->setData(0, kPathRole, path);
    item->setToolTip(0, path);
    item->setIcon(0, icon);
    return item;
}

} // namespace

bool matchesFilePattern(const QString& fileName, const QString& pattern) {
    if (pattern == QStringLiteral("*") || pattern == QStringLiteral("*.*")) {
        return true;
    }
    const QString extension = pattern.mid(2);
    if (pattern.startsWith(QStringLiteral("*.")) && !extension.contains(QLatin1Char('*')) &&
        !extension.contains(QLatin1Char('?'))) {
        const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
        return dot >= 0 && fileName.mid(dot + 1).startsWith(extension, Qt::CaseInsensitive);
    }
    return QRegularExpression::fromWildcard(pattern, Qt::CaseInsensitive)
        .match(fileName)
        .hasMatch();
}

void FrmSetup::fillDrives() {
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady()) {
            roots << volume.rootPath();
        }
    }
    roots << QDir::homePath();
    roots.removeDuplicates();
    roots.sort();
    const QIcon icon = style()->standardIcon(QStyle::SP_DriveHDIcon);
    for (const QString& root : roots) {
        drvList_->addItem(icon, root, root);
    }
}

// The drive whose root is the longest start of `folder`, the home folder
// counting as a drive of its own.
void FrmSetup::showDriveOf(const QString& folder) {
    int best = -1;
    qsizetype bestLength = -1;
    for (int index = 0; index < drvList_->count(); ++index) {
        const QString root = drvList_->itemData(index).toString();
        const bool holds = folder == root || root == QStringLiteral("/") ||
                           folder.startsWith(root + QLatin1Char('/'));
        if (holds && root.size() > bestLength) {
            best = index;
            bestLength = root.size();
        }
    }
    const QSignalBlocker quiet(drvList_);
    drvList_->setCurrentIndex(best);
}

void FrmSetup::driveChanged(int index) {
    if (!enterFolder(drvList_->itemData(index).toString())) {
        showMessage(this, QMessageBox::Information, QStringLiteral("Device Error"),
                    QStringLiteral("Device not available."));
        showDriveOf(folder_);
    }
}

bool FrmSetup::openFolder(const QString& folder) {
    if (enterFolder(folder)) {
        return true;
    }
    showMessage(this, QMessageBox::Information, QStringLiteral("Device Error"),
                QStringLiteral("Device not available."));
    return false;
}

bool FrmSetup::enterFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir() || !info.isReadable() || !info.isExecutable()) {
        return false;
    }
    const QString path = info.canonicalFilePath();
    folder_ = path;
    fillFolders(path);
    fillFiles(path);
    showDriveOf(path);
    if (mode_ == ListMode::LogFile) {
        lblLogFilePath_->setText(path);
    }
    return true;
}

// The open folder under each of its parents, then its own folders.
void FrmSetup::fillFolders(const QString& folder) {
    dirList_->clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QTreeWidgetItem* parent = folderItem(QStringLiteral("/"), QStringLiteral("/"), open);
    dirList_->addTopLevelItem(parent);
    QString path;
    for (const QString& part : folder.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        path += QLatin1Char('/') + part;
        auto* child = folderItem(part, path, open);
        parent->addChild(child);
        parent = child;
    }
    const QDir dir(folder);
    for (const QString& name :
         dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        parent->addChild(folderItem(name, dir.filePath(name), closed));
    }
    dirList_->expandAll();
    dirList_->setCurrentItem(parent);
}

void FrmSetup::folderClicked(QTreeWidgetItem* item) {
    fillFiles(item->data(0, kPathRole).toString());
}

void FrmSetup::folderOpened(QTreeWidgetItem* item) {
    openFolder(item->data(0, kPathRole).toString());
}

void FrmSetup::fillFiles(const QString& folder) {
    filesFolder_ = folder;
    fillist_->clear();
    const QString pattern = cboFileType_->currentText();
    for (const QString& name : QDir(folder).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        if (matchesFilePattern(name, pattern)) {
            fillist_->addItem(name);
        }
    }
}

void FrmSetup::fileClicked() {
    if (const QListWidgetItem* item = fillist_->currentItem()) {
        txtFileName_->setText(item->text());
    }
    importPath();
}

void FrmSetup::fileOpened() {
    fileClicked();
    chooseFile();
}

} // namespace dcf::ui
