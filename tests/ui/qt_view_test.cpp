#include "ui_test_support.h"
#include "window_fixture.h"

#include <QApplication>
#include <QProgressBar>
#include <QThread>
#include <atomic>
#include <thread>

#include <gtest/gtest.h>

namespace dcf::ui {
namespace {

using test::controlEnabled;
using test::controlText;
using test::controlVisible;
using test::processUntil;

// The engine's calls come from its own thread, as in a run.
using QtViewFromWorker = test::WindowTest;

TEST_F(QtViewFromWorker, ReachesTheNamedControls) {
    QtView& view = window().view();
    std::thread worker([&view] {
        view.setText("frmMain", "Conversion - DCF Data (Running)");
        view.setText("statbarMain", "Processing DCF file record # 2");
        view.setText("lblToolBar", "Press the Cancel icon to cancel the conversion.");
        view.setText("cmdStop", "&Stop");
        view.setVisible("lblStartTime", true);
        view.setVisible("pgbImport", true);
        view.setEnabled("cmdStop", true);
        view.setEnabled("cmdRun", false);
        view.setEnabled("mnuFile", false);
        view.setEnabled("mnuAbout", false);
        view.setProgress(3, 4);
        view.setText("lblToolBar", "the last hint wins");
    });
    worker.join();
    ASSERT_TRUE(processUntil([&] { return !controlEnabled(window(), "mnuFile"); }));

    EXPECT_EQ(window().windowTitle(), QStringLiteral("Conversion - DCF Data (Running)"));
    EXPECT_EQ(controlText(window(), "statbarMainPanel1"),
              QStringLiteral("Processing DCF file record # 2"));
    EXPECT_EQ(controlText(window(), "lblToolBar"), QStringLiteral("the last hint wins"));
    EXPECT_EQ(controlText(window(), "cmdStop"), QStringLiteral("&Stop"));
    EXPECT_TRUE(controlVisible(window(), "lblStartTime"));
    EXPECT_TRUE(controlEnabled(window(), "cmdStop"));
    EXPECT_FALSE(controlEnabled(window(), "cmdRun"));
    // A menu is disabled as a whole, entries included.
    EXPECT_FALSE(controlEnabled(window(), "mnuAbout"));
    EXPECT_TRUE(controlEnabled(window(), "mnuSetup"));
    auto* bar = window().findChild<QProgressBar*>(QStringLiteral("pgbImport"));
    EXPECT_EQ(bar->value(), 3);
    EXPECT_EQ(bar->maximum(), 4);
}

TEST_F(QtViewFromWorker, CountsEndAtTheLastValueSet) {
    QtView& view = window().view();
    std::thread worker([&view] {
        for (std::int64_t count = 1; count <= 20'000; ++count) {
            view.setCount("lblImportCount", count);
            view.setCount("lblImpRcptCount", count / 2);
        }
    });
    worker.join();
    ASSERT_TRUE(processUntil(
        [&] { return controlText(window(), "lblImportCount") == QStringLiteral("20000"); }));
    EXPECT_EQ(controlText(window(), "lblImpRcptCount"), QStringLiteral("10000"));
}

TEST_F(QtViewFromWorker, QuestionsAndMessagesWaitForTheUser) {
    QtView& view = window().view();
    test::BoxAnswerer boxes;
    boxes.answer(QMessageBox::Yes, [&](QMessageBox& box) {
        EXPECT_EQ(box.icon(), QMessageBox::Question);
        EXPECT_EQ(box.defaultButton(), box.button(QMessageBox::No));
        EXPECT_EQ(box.button(QMessageBox::Cancel), nullptr);
        EXPECT_TRUE(box.isModal());
        // What the engine set before asking is on screen.
        EXPECT_EQ(controlText(window(), "lblToolBar"), QStringLiteral("answer me"));
        // The Cancel question cannot open beside it.
        EXPECT_FALSE(view.beginCancelQuestion());
    });
    boxes.answer(QMessageBox::No);
    boxes.answer(QMessageBox::Cancel, [](QMessageBox& box) {
        // Only the similar-name question offers Cancel, with No as default.
        EXPECT_NE(box.button(QMessageBox::Cancel), nullptr);
        EXPECT_EQ(box.defaultButton(), box.button(QMessageBox::No));
    });
    boxes.answer(QMessageBox::Ok);

    std::atomic<int> answers{-1};
    std::thread worker([&] {
        view.setText("lblToolBar", "answer me");
        const run::Answer first =
            view.ask({run::QuestionKind::ConfirmRun, "Converting DCF Data File",
                      "line one\r\nline two", run::Icon::Question, run::Answer::No});
        const run::Answer second =
            view.ask({run::QuestionKind::SaveClean, "", "Save All Converted Records?",
                      run::Icon::None, run::Answer::Yes});
        const run::Answer third =
            view.ask({run::QuestionKind::SimilarName, "Importing Names", "similar",
                      run::Icon::Question, run::Answer::No, run::Buttons::YesNoCancel});
        view.tell({"", "done", run::Icon::Critical});
        answers = (first == run::Answer::Yes ? 10 : 0) + (second == run::Answer::Yes ? 1 : 0) +
                  (third == run::Answer::Cancel ? 100 : 0);
    });
    ASSERT_TRUE(processUntil([&] { return answers >= 0; }));
    worker.join();
    EXPECT_EQ(answers, 110);
    EXPECT_EQ(boxes.boxes,
              (std::vector<std::string>{"Converting DCF Data File|line one\nline two",
                                        "dcfconvert|Save All Converted Records?",
                                        "Importing Names|similar", "dcfconvert|done"}));
}

TEST_F(QtViewFromWorker, OpenCancelQuestionHoldsTheWorkerAtItsYield) {
    QtView& view = window().view();
    ASSERT_TRUE(view.beginCancelQuestion());
    std::atomic<bool> passed{false};
    std::thread worker([&] {
        view.yield();
        passed = true;
    });
    // Whatever the worker would do, it has had the time to do it.
    QThread::msleep(100);
    EXPECT_FALSE(passed);
    view.endCancelQuestion();
    worker.join();
    EXPECT_TRUE(passed);
}

TEST_F(QtViewFromWorker, BusyPointerIsGivenBackWhenTheRunEnds) {
    QtView& view = window().view();
    std::thread([&view] { view.setBusy(true); }).join();
    ASSERT_TRUE(processUntil([] { return QApplication::overrideCursor() != nullptr; }));
    view.runEnded();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
} // namespace dcf::ui
