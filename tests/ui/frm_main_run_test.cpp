#include "ui_test_support.h"
#include "window_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

namespace dcf::ui {
namespace {

using test::controlEnabled;
using test::controlText;
using test::controlVisible;
using test::processUntil;

class FrmMainRun : public test::WindowTest {
protected:
    // Converts a sample, confirming the run and declining the save; false
    // when the run did not end.
    bool convertDeclining(const char* sample) {
        window().chooseFile(std::filesystem::path(DCF_SAMPLES_DIR) / sample);
        test::BoxAnswerer boxes;
        boxes.answer(QMessageBox::Yes);
        boxes.answer(QMessageBox::No);
        bool ended = false;
        const QMetaObject::Connection watching =
            QObject::connect(&window(), &FrmMain::runEnded, [&] { ended = true; });
        window().findChild<QAbstractButton*>(QStringLiteral("cmdRun"))->click();
        const bool finished = processUntil([&] { return ended; });
        QObject::disconnect(watching);
        return finished;
    }
};

constexpr const char* kRunCommands[] = {"cmdRun",  "cmdExit",  "cmdGetFile",
                                        "mnuFile", "mnuSetup", "mnuAbout"};

void expectRunning(FrmMain& window) {
    EXPECT_TRUE(window.running());
    EXPECT_TRUE(controlEnabled(window, "cmdStop"));
    for (const char* name : kRunCommands) {
        EXPECT_FALSE(controlEnabled(window, name)) << name;
    }
    // The window cannot be closed under a run.
    EXPECT_FALSE(window.close());
}

void expectIdle(FrmMain& window) {
    EXPECT_FALSE(window.running());
    EXPECT_FALSE(controlEnabled(window, "cmdStop"));
    for (const char* name : kRunCommands) {
        EXPECT_TRUE(controlEnabled(window, name)) << name;
    }
}

TEST_F(FrmMainRun, ConvertsTheSampleAndComesBackIdle) {
    window().show();
    window().chooseFile(std::filesystem::path(DCF_SAMPLES_DIR) / "minimal.DCF_ZV");
    test::BoxAnswerer boxes;
    boxes.answer(QMessageBox::Yes, [&](QMessageBox&) { expectRunning(window()); });
    boxes.answer(QMessageBox::Yes);

    bool ended = false;
    QObject::connect(&window(), &FrmMain::runEnded, [&] { ended = true; });
    window().findChild<QAbstractButton*>(QStringLiteral("cmdRun"))->click();
    ASSERT_TRUE(processUntil([&] { return ended; }));

    ASSERT_EQ(boxes.boxes.size(), 2U);
    EXPECT_EQ(boxes.boxes[1], "dcfconvert|Save All Converted Records?");
    expectIdle(window());
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Conversion - minimal.DCF_ZV (Stopped)"));
    EXPECT_TRUE(controlVisible(window(), "lblFinishTime"));
    EXPECT_TRUE(
        controlText(window(), "lblFinishTime").startsWith("Conversion finish time  ----  "));
    EXPECT_EQ(controlText(window(), "lblImportCount"), QStringLiteral("3"));
    EXPECT_EQ(controlText(window(), "lblToolBar"),
              QStringLiteral("Press the 'Exit' icon to exit the program."));
    ASSERT_TRUE(std::filesystem::exists(window().logPath()));
}

TEST_F(FrmMainRun, LogViewerOpensWithTheLastLogAndClosesAgain) {
    ASSERT_TRUE(convertDeclining("minimal.DCF_ZV"));

    auto* viewer = window().findChild<QPlainTextEdit*>(QStringLiteral("rtbLog"));
    auto* button = window().findChild<QPushButton*>(QStringLiteral("cmdViewErrorFile"));
    const QRect closedPlace = viewer->geometry();
    button->click();
    EXPECT_EQ(button->text(), QStringLiteral("Close &Log"));
    EXPECT_TRUE(controlVisible(window(), "rtbLog"));
    EXPECT_NE(viewer->geometry(), closedPlace);
    EXPECT_TRUE(
        viewer->toPlainText().contains(QStringLiteral("Error records are printed in this file.")));
    EXPECT_TRUE(window().findChild<LogEntriesView*>(QStringLiteral("logEntries"))->isHidden())
        << "a log without entries shows its text alone";

    // The log is read again on every opening.
    dcf::test::writeFile(window().logPath(), "read again\r\n");
    button->click();
    EXPECT_EQ(button->text(), QStringLiteral("&View Error File"));
    EXPECT_FALSE(controlVisible(window(), "rtbLog"));
    EXPECT_EQ(viewer->geometry(), closedPlace);
    button->click();
    EXPECT_EQ(viewer->toPlainText(), QStringLiteral("read again\n"));
}

// A log with entries opens beside them as a table: sorted by line, filtered
// by outcome, each input record copyable.
TEST_F(FrmMainRun, TheLogsEntriesShowAsATableBesideItsText) {
    ASSERT_TRUE(convertDeclining("full-report.DCF_ZV"));
    ASSERT_FALSE(window().entriesPath().empty());

    window().findChild<QPushButton*>(QStringLiteral("cmdViewErrorFile"))->click();
    auto* entries = window().findChild<LogEntriesView*>(QStringLiteral("logEntries"));
    ASSERT_NE(entries, nullptr);
    EXPECT_FALSE(entries->isHidden());
    EXPECT_TRUE(controlVisible(window(), "rtbLog"));
    EXPECT_EQ(entries->findChild<QLabel*>(QStringLiteral("lblLogEntryCounts"))->text(),
              QStringLiteral("3 corrected, 1 not imported, 1 failed, 0 run failed"));
    auto* table = entries->findChild<QTableView*>(QStringLiteral("grdLogEntries"));
    const auto column = [table](int index) {
        QStringList values;
        for (int row = 0; row < table->model()->rowCount(); ++row) {
            values << table->model()->index(row, index).data().toString();
        }
        return values;
    };
    EXPECT_EQ(column(0), (QStringList{"18", "21", "22", "32", "40"}));

    auto* outcome = entries->findChild<QComboBox*>(QStringLiteral("cboLogEntryOutcome"));
    outcome->setCurrentIndex(outcome->findText(QStringLiteral("failed (1)")));
    EXPECT_EQ(column(4), QStringList{"failed"});
    table->selectRow(0);
    entries->copySelectedInputRecords();
    EXPECT_EQ(QApplication::clipboard()->text().left(17), QStringLiteral("SMRY,202,2,,,COH,"));
    entries->filterByOutcome(std::nullopt);
    EXPECT_EQ(column(0).size(), 5);

    // Closed, neither shows; a log without entries opens as text alone.
    window().findChild<QPushButton*>(QStringLiteral("cmdViewErrorFile"))->click();
    EXPECT_TRUE(entries->isHidden());
    EXPECT_FALSE(controlVisible(window(), "rtbLog"));
}

} // namespace
} // namespace dcf::ui
