#include "instance_lock.h"
#include "ui_test_support.h"
#include "window_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace dcf::ui {
namespace {

using test::controlEnabled;
using test::controlText;
using test::controlVisible;

TEST(InstanceLock, SecondCopyOfTheSameUserIsRefused) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("dcfconvert.lock"));
    QtInstanceLock first(path);
    QtInstanceLock second(path);
    EXPECT_TRUE(first.tryLock());
    EXPECT_FALSE(second.tryLock());
}

using FrmMain = test::WindowTest;

TEST_F(FrmMain, OpensStoppedWithTheGetFileHint) {
    EXPECT_EQ(window().objectName(), QStringLiteral("frmMain"));
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Conversion - Convert Data (Stopped)"));
    auto* stop = window().findChild<QAbstractButton*>(QStringLiteral("cmdStop"));
    ASSERT_NE(stop, nullptr);
    EXPECT_EQ(stop->text(), QStringLiteral("&Cancel"));
    EXPECT_FALSE(stop->isEnabled());
    for (const char* name : {"cmdGetFile", "cmdRun", "cmdExit"}) {
        auto* button = window().findChild<QAbstractButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_TRUE(button->isEnabled()) << name;
    }
    auto* hint = window().findChild<QLabel*>(QStringLiteral("lblToolBar"));
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->text(),
              QStringLiteral("Press the Get File icon to find your conversion file."));
}

TEST_F(FrmMain, OpensIdleWithEveryRunControlInPlace) {
    for (const char* name :
         {"mnuFile", "mnuSetup", "mnuAbout", "mnuRun", "mnuFileExit", "mnuSetupImport"}) {
        EXPECT_TRUE(controlEnabled(window(), name)) << name;
    }
    for (const char* name : {"lblStartTime", "lblFinishTime", "LblErrorLog", "cmdViewErrorFile",
                             "pgbImport", "rtbLog", "lblErrorsImported", "lblErrorsImportedCount",
                             "lblErrorsNOTImported", "lblErrorsNotImportedCount"}) {
        ASSERT_NE(window().findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
        EXPECT_FALSE(controlVisible(window(), name)) << name;
    }
    for (const char* name : {"lblImportCount",
                             "lblNameCount",
                             "lblImpNameCount",
                             "lblReportsCount",
                             "lblImpFormCount",
                             "lblRcptCount",
                             "lblImpRcptCount",
                             "lblExpnCount",
                             "lblImpExpnCount",
                             "lblLoansCount",
                             "lblImpLoanCount",
                             "lblCreditsCount",
                             "lblImpCredCount",
                             "lblAssetsCount",
                             "lblImpAssetCount",
                             "lblOutLoans",
                             "lblImpDebtCount",
                             "lblNoticesCount",
                             "lblImpNoticesCount",
                             "lblActivityPurposeCount",
                             "lblImpActivityPurposeCount",
                             "lblSummaryCount",
                             "lblImpSummaryCount",
                             "lblTextCount",
                             "lblImpTextCount",
                             "lblErrorsImportedCount",
                             "lblErrorsNotImportedCount"}) {
        EXPECT_EQ(controlText(window(), name), QStringLiteral("0")) << name;
    }
    EXPECT_EQ(controlText(window(), "lblImportFileName"), QStringLiteral("No File Selected"));
    EXPECT_EQ(controlText(window(), "lblStartTime"), QStringLiteral("Import Start Time   ----"));
    EXPECT_EQ(controlText(window(), "LblErrorLog"),
              QStringLiteral("ERRORS Ocurred During Import! Check Error Log!"));
    EXPECT_EQ(controlText(window(), "cmdViewErrorFile"), QStringLiteral("&View Error File"));
}

TEST_F(FrmMain, ChosenFileShowsItsFilerAndTheRunHint) {
    window().chooseFile(std::filesystem::path(DCF_SAMPLES_DIR) / "minimal.DCF_ZV");
    EXPECT_EQ(controlText(window(), "lblImportFileName"), QStringLiteral("Y X"));
    EXPECT_EQ(controlText(window(), "lblFilerType"), QStringLiteral("COH"));
    EXPECT_EQ(controlText(window(), "lblFilerID"), QStringLiteral("F123456"));
    EXPECT_EQ(controlText(window(), "lblToolBar"),
              QStringLiteral("Press the Run icon to start your conversion."));
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Conversion - Convert Data (Stopped)"));

    // A file without a filer line shows its own name.
    const std::filesystem::path bare = logs() / "nofiler.DCF_ZV";
    dcf::test::writeFile(bare, "HDR,1,0,DCF,1.0,20261208,\r\n");
    window().chooseFile(bare);
    EXPECT_EQ(controlText(window(), "lblImportFileName"), QStringLiteral("nofiler.DCF_ZV"));
    EXPECT_EQ(controlText(window(), "lblFilerID"), QString());
}

// Drops `path` on the window as a file manager would; whether it was taken.
bool drop(QWidget& window, const std::filesystem::path& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path.string()))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &dropped);
    return dropped.isAccepted();
}

TEST_F(FrmMain, ADroppedDcfFileIsChosenAndAnyOtherFileIsRefused) {
    const std::filesystem::path text = logs() / "notes.txt";
    dcf::test::writeFile(text, "FLR,1,0,F,F,COH,F9,Other,,\r\n");
    EXPECT_FALSE(drop(window(), text));
    EXPECT_EQ(controlText(window(), "lblImportFileName"), QStringLiteral("No File Selected"));

    EXPECT_TRUE(drop(window(), std::filesystem::path(DCF_SAMPLES_DIR) / "minimal.DCF_ZV"));
    EXPECT_EQ(request().file.name, "minimal.DCF_ZV");
    EXPECT_EQ(controlText(window(), "lblImportFileName"), QStringLiteral("Y X"));
    EXPECT_EQ(controlText(window(), "lblToolBar"),
              QStringLiteral("Press the Run icon to start your conversion."));
}

} // namespace
} // namespace dcf::ui
