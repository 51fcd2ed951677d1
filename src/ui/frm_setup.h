#pragma once

#include "run/run_request.h"
#include "run/view.h"

#include <QDialog>
#include <QString>
#include <filesystem>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace dcf::ui {

// Whether `fileName` is offered under `pattern` ("*.DCF", "*.*"). A
// pattern's extension matches as a prefix and without regard to case, so
// "*.DCF" offers "a.DCF_ZV" and "b.dcf", as the file lists users know do.
bool matchesFilePattern(const QString& fileName, const QString& pattern);

// Makes `path` the runs' selected file and shows it and its filer on the
// main window through `view`. Throws std::runtime_error when the file
// cannot be read; nothing is changed then.
void chooseDcfFile(run::RunRequest& request, run::View& view, const std::filesystem::path& path);

// Says that the chosen file cannot be read.
void showBadFileName(QWidget* parent);

// The file chooser, "Choose A File": drives, folders and the folder's DCF
// files, and the logs folder. It reads the chosen file only; nothing is
// written to the database here. Each control's objectName is its control
// name.
class FrmSetup final : public QDialog {
    Q_OBJECT

public:
    // `view` is the main window's: the chooser sets its hint and labels.
    FrmSetup(run::RunRequest& request, run::View& view, QWidget* parent = nullptr);

    // The folder the lists show.
    [[nodiscard]] const QString& folder() const { return folder_; }
    // Opens `folder` in the lists; false (and a box) when it cannot be read.
    bool openFolder(const QString& folder);

    // The commands, as their buttons do them.
    void chooseFile();
    void changeLogFile();

private:
    enum class ListMode { Import, LogFile };

    void buildControls();
    void load();
    // Takes the logs folder the window shows; false (and a box) when no
    // log can be written there.
    bool applyLogsFolder();

    // List handling (frm_setup_lists.cpp). enterFolder opens `folder` in
    // the lists, or says false when it cannot be read.
    bool enterFolder(const QString& folder);
    void fillDrives();
    void showDriveOf(const QString& folder);
    void driveChanged(int index);
    void fillFolders(const QString& folder);
    void folderClicked(QTreeWidgetItem* item);
    void folderOpened(QTreeWidgetItem* item);
    void fillFiles(const QString& folder);
    void fileClicked();
    void fileOpened();
    void importPath();

    void showBadPath(const QString& text);
    [[nodiscard]] QString selectedFileName() const;

    run::RunRequest& request_;
    run::View& view_;
    ListMode mode_ = ListMode::Import;
    QString folder_;      // the folder the folder list has open
    QString filesFolder_; // the folder the file list shows

    QComboBox* drvList_ = nullptr;
    QTreeWidget* dirList_ = nullptr;
    QListWidget* fillist_ = nullptr;
    QComboBox* cboFileType_ = nullptr;
    QLineEdit* txtFileName_ = nullptr;
    QLabel* lblLogFilePath_ = nullptr;
};

} // namespace dcf::ui
