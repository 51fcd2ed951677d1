// Whole runs in the window: the state of its commands before, during and
// after a run, its counters at the end, and every box a run puts up, as the
// user sees it.

#include "test_database.h"
#include "ui_test_support.h"
#include "window_fixture.h"

#include <QAbstractButton>
#include <QLabel>

#include <gtest/gtest.h>

namespace dcf::ui {
namespace {

using test::controlEnabled;
using test::controlText;
using test::controlVisible;
using Seen = test::BoxAnswerer::Seen;

constexpr const char* kRunCommands[] = {"cmdRun",  "cmdExit",  "cmdGetFile",
                                        "mnuFile", "mnuSetup", "mnuAbout"};

// Running: only Cancel answers; idle: every command but Cancel.
void expectCommands(FrmMain& window, bool running) {
    EXPECT_EQ(controlEnabled(window, "cmdStop"), running);
    for (const char* name : kRunCommands) {
        EXPECT_EQ(controlEnabled(window, name), !running) << name;
    }
}

void expectState(FrmMain& window, bool running) {
    EXPECT_EQ(window.running(), running);
    expectCommands(window, running);
}

const QMessageBox::StandardButtons kYesNo = QMessageBox::Yes | QMessageBox::No;

void expectBox(const Seen& box, const char* title, QMessageBox::Icon icon,
               QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton) {
    EXPECT_EQ(box.title.toStdString(), title);
    EXPECT_EQ(box.icon, icon) << title;
    EXPECT_EQ(box.buttons, buttons) << title;
    EXPECT_EQ(box.defaultButton, defaultButton) << title;
    EXPECT_TRUE(box.applicationModal) << title;
}

class FrmMainWholeRun : public test::WindowTest {
protected:
    // Presses Run and waits until the window shows the run's end.
    void runToEnd() {
        bool ended = false;
        const auto connection =
            QObject::connect(&window(), &FrmMain::runEnded, [&] { ended = true; });
        window().findChild<QAbstractButton*>(QStringLiteral("cmdRun"))->click();
        ASSERT_TRUE(test::processUntil([&] { return ended; }));
        QObject::disconnect(connection);
    }

    static std::filesystem::path fullSample() {
        return std::filesystem::path(DCF_SAMPLES_DIR) / "full-report.DCF_ZV";
    }
};

TEST_F(FrmMainWholeRun, TheFullSampleMovesEveryCounterAndAsksItsQuestions) {
    window().show();
    expectState(window(), false);
    window().chooseFile(fullSample());
    test::BoxAnswerer boxes;
    boxes.answer(QMessageBox::Yes, [&](QMessageBox&) { expectState(window(), true); });
    boxes.answer(QMessageBox::Yes, [&](QMessageBox&) {
        // The closing question comes after the commands are given back; the
        // box keeps them from being used until it is answered.
        EXPECT_TRUE(window().running());
        expectCommands(window(), false);
        EXPECT_EQ(controlText(window(), "lblImportCount"), QStringLiteral("44"));
    });
    runToEnd();
    expectState(window(), false);

    ASSERT_EQ(boxes.seen.size(), 2U);
    expectBox(boxes.seen[0], "Converting DCF Data File", QMessageBox::Question, kYesNo,
              QMessageBox::No);
    EXPECT_EQ(boxes.seen[0].text,
              QStringLiteral("DCF File full-report.DCF_ZV\nfor COH Filer Friends of Maple Valley "
                             "Committee\nwith a Filer ID of F400300\nhas been selected.\n\nDo "
                             "you want to continue Converting this QORVEX Data File? \n"));
    expectBox(boxes.seen[1], "dcfconvert", QMessageBox::NoIcon, kYesNo, QMessageBox::Yes);
    EXPECT_EQ(boxes.seen[1].text,
              QStringLiteral("Conversion file contains records that will not be Imported.\nCheck "
                             "the Log file for error description\nDo you want to save this "
                             "conversion?"));

    const std::pair<const char*, const char*> counts[] = {{"lblImportCount", "44"},
                                                          {"lblNameCount", "13"},
                                                          {"lblImpNameCount", "7"},
                                                          {"lblReportsCount", "2"},
                                                          {"lblImpFormCount", "2"},
                                                          {"lblRcptCount", "3"},
                                                          {"lblImpRcptCount", "4"},
                                                          {"lblExpnCount", "3"},
                                                          {"lblImpExpnCount", "2"},
                                                          {"lblLoansCount", "1"},
                                                          {"lblImpLoanCount", "1"},
                                                          {"lblCreditsCount", "1"},
                                                          {"lblImpCredCount", "1"},
                                                          {"lblAssetsCount", "1"},
                                                          {"lblImpAssetCount", "1"},
                                                          {"lblOutLoans", "1"},
                                                          {"lblImpDebtCount", "1"},
                                                          {"lblNoticesCount", "2"},
                                                          {"lblImpNoticesCount", "2"},
                                                          {"lblActivityPurposeCount", "2"},
                                                          {"lblImpActivityPurposeCount", "2"},
                                                          {"lblSummaryCount", "4"},
                                                          {"lblImpSummaryCount", "3"},
                                                          {"lblTextCount", "3"},
                                                          {"lblImpTextCount", "3"},
                                                          {"lblErrorsImportedCount", "3"},
                                                          {"lblErrorsNotImportedCount", "1"}};
    for (const auto& [label, count] : counts) {
        EXPECT_EQ(controlText(window(), label), QString::fromLatin1(count)) << label;
    }
    for (const char* shown : {"lblErrorsImported", "lblErrorsImportedCount", "lblErrorsNOTImported",
                              "lblErrorsNotImportedCount", "LblErrorLog", "cmdViewErrorFile",
                              "lblStartTime", "lblFinishTime"}) {
        EXPECT_TRUE(controlVisible(window(), shown)) << shown;
    }
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Conversion - full-report.DCF_ZV (Stopped)"));
    EXPECT_FALSE(controlVisible(window(), "statbarMainRate"));

    // The same file again: its filer is already there.
    boxes.answer(QMessageBox::Yes);
    boxes.answer(QMessageBox::No);
    runToEnd();
    ASSERT_EQ(boxes.seen.size(), 4U);
    expectBox(boxes.seen[3], "Converting QORVEX Data File", QMessageBox::Question, kYesNo,
              QMessageBox::No);
    EXPECT_TRUE(boxes.seen[3].text.startsWith(QStringLiteral("There Already Exists a COH Filer")));
    expectState(window(), false);
    EXPECT_EQ(controlText(window(), "lblProcessingMessage"),
              QStringLiteral("Conversion canceled by user. No files imported."));
}

TEST_F(FrmMainWholeRun, RunWithoutAFileSaysSoInAnOkBox) {
    test::BoxAnswerer boxes;
    runToEnd();
    ASSERT_EQ(boxes.seen.size(), 1U);
    expectBox(boxes.seen[0], "dcfconvert", QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok);
    EXPECT_EQ(boxes.seen[0].text,
              QStringLiteral("Incorrect or Missing QORVEX data file name. No files converted"));
    expectState(window(), false);
}

TEST_F(FrmMainWholeRun, ACancelConfirmedDuringTheRunStopsItAndSavesNothing) {
    // Long enough that the run is still reading lines when Cancel is pressed.
    std::string text = dcf::test::readFile(fullSample());
    const std::string contribution = "RCPT,101,1,,,A,14,20260322,85.00,Tickets,Y\r\n";
    constexpr int kExtraLines = 60'000;
    for (int line = 0; line < kExtraLines; ++line) {
        text += contribution;
    }
    const std::filesystem::path path = logs() / "long.DCF_ZV";
    dcf::test::writeFile(path, text);
    window().chooseFile(path);

    test::BoxAnswerer boxes;
    boxes.answer(QMessageBox::Yes);
    bool ended = false;
    QObject::connect(&window(), &FrmMain::runEnded, [&] { ended = true; });
    window().findChild<QAbstractButton*>(QStringLiteral("cmdRun"))->click();
    ASSERT_TRUE(test::processUntil(
        [&] { return ended || controlText(window(), "lblImportCount").toInt() > 0; }));
    ASSERT_FALSE(ended) << "the run ended before Cancel could be pressed";

    boxes.answer(QMessageBox::No); // the first Cancel is taken back
    boxes.answer(QMessageBox::Yes);
    auto* cancel = window().findChild<QAbstractButton*>(QStringLiteral("cmdStop"));
    cancel->click();
    EXPECT_FALSE(ended);
    cancel->click();
    ASSERT_TRUE(test::processUntil([&] { return ended; }));

    ASSERT_EQ(boxes.seen.size(), 3U);
    for (const std::size_t asked : {1U, 2U}) {
        expectBox(boxes.seen[asked], "Conversion File Cancel", QMessageBox::Critical, kYesNo,
                  QMessageBox::No);
        EXPECT_EQ(boxes.seen[asked].text,
                  QStringLiteral("Are you sure you want to Cancel this Conversion? \n"));
    }
    expectState(window(), false);
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Conversion - long.DCF_ZV (Stopped)"));
    EXPECT_EQ(controlText(window(), "lblProcessingMessage"),
              QStringLiteral("Conversion canceled by user. No files imported."));
    EXPECT_LT(controlText(window(), "lblImportCount").toInt(), kExtraLines);
    EXPECT_EQ(dcf::test::selectRows(connection(), "select count(*) from RCPT"),
              std::vector<std::string>{"0"});
}

} // namespace
} // namespace dcf::ui
