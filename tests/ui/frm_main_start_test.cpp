#include "frm_main.h"
#include "instance_lock.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace dcf::ui {
namespace {

TEST(InstanceLock, SecondCopyOfTheSameUserIsRefused) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("dcfconvert.lock"));
    QtInstanceLock first(path);
    QtInstanceLock second(path);
    EXPECT_TRUE(first.tryLock());
    EXPECT_FALSE(second.tryLock());
}

TEST(FrmMain, OpensStoppedWithTheGetFileHint) {
    FrmMain window;
    EXPECT_EQ(window.objectName(), QStringLiteral("frmMain"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Conversion - Convert Data (Stopped)"));
    auto* stop = window.findChild<QPushButton*>(QStringLiteral("cmdStop"));
    ASSERT_NE(stop, nullptr);
    EXPECT_EQ(stop->text(), QStringLiteral("&Cancel"));
    EXPECT_FALSE(stop->isEnabled());
    for (const char* name : {"cmdGetFile", "cmdRun", "cmdExit"}) {
        auto* button = window.findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_TRUE(button->isEnabled()) << name;
    }
    auto* hint = window.findChild<QLabel*>(QStringLiteral("lblToolBar"));
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->text(),
              QStringLiteral("Press the Get File icon to find your conversion file."));
}

} // namespace
} // namespace dcf::ui

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
