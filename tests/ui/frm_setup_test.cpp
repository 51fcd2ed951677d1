#include "frm_setup.h"

#include "test_database.h"
#include "ui_test_support.h"
#include "window_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace dcf::ui {
namespace {

using test::controlText;

TEST(FilePattern, TheTypesExtensionMatchesAsAPrefixWithoutRegardToCase) {
    const QString dcf = QStringLiteral("*.DCF");
    EXPECT_TRUE(matchesFilePattern(QStringLiteral("a.DCF_ZV"), dcf));
    EXPECT_TRUE(matchesFilePattern(QStringLiteral("b.dcf"), dcf));
    EXPECT_TRUE(matchesFilePattern(QStringLiteral("report.2026.Dcf_zv"), dcf));
    EXPECT_FALSE(matchesFilePattern(QStringLiteral("c.txt"), dcf));
    EXPECT_FALSE(matchesFilePattern(QStringLiteral("DCF"), dcf));
    EXPECT_FALSE(matchesFilePattern(QStringLiteral("a.DCF_ZV.bak"), dcf));
    EXPECT_TRUE(matchesFilePattern(QStringLiteral("c.txt"), QStringLiteral("*.*")));
    EXPECT_TRUE(matchesFilePattern(QStringLiteral("FILE1.TXT"), QStringLiteral("file?.txt")));
}

// The chooser over a folder of the test's, on the main window's view.
class FrmSetupTest : public test::WindowTest {
protected:
    FrmSetupTest() {
        dcf::test::writeFile(files_.path() / "a.DCF_ZV", "FLR,1,0,F,F,COH,F1,Doe,Jane,\r\n");
        dcf::test::writeFile(files_.path() / "b.dcf",
                             "FLR,1,0,F,F,COH,F1,Doe,Jane,\r\nFLR,2,0,F,F,IND,F2,Roe,,\r\n");
        dcf::test::writeFile(files_.path() / "c.txt", "text\r\n");
        std::filesystem::create_directory(files_.path() / "inner");
    }

    std::unique_ptr<FrmSetup> openChooser() {
        auto setup = std::make_unique<FrmSetup>(request(), window().view(), &window());
        EXPECT_TRUE(setup->openFolder(folder()));
        return setup;
    }

    QString folder() const { return QString::fromStdString(files_.path().string()); }

    static QStringList files(FrmSetup& setup) {
        QStringList names;
        auto* list = setup.findChild<QListWidget*>(QStringLiteral("fillist"));
        for (int row = 0; row < list->count(); ++row) {
            names << list->item(row)->text();
        }
        return names;
    }

    static void pick(FrmSetup& setup, const QString& name) {
        auto* list = setup.findChild<QListWidget*>(QStringLiteral("fillist"));
        const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        list->setCurrentItem(found.front());
    }

    dcf::test::TempFolder files_;
};

TEST_F(FrmSetupTest, OffersTheFolderAndItsDcfFiles) {
    const auto setup = openChooser();
    EXPECT_EQ(setup->windowTitle(), QStringLiteral("Choose A File"));
    EXPECT_EQ(files(*setup), (QStringList{QStringLiteral("a.DCF_ZV"), QStringLiteral("b.dcf")}));
    auto* folders = setup->findChild<QTreeWidget*>(QStringLiteral("dirList"));
    ASSERT_NE(folders->currentItem(), nullptr);
    EXPECT_EQ(folders->currentItem()->childCount(), 1);
    EXPECT_EQ(folders->currentItem()->child(0)->text(0), QStringLiteral("inner"));
    EXPECT_EQ(controlText(window(), "lblToolBar"),
              QStringLiteral("Press the Run icon to start your conversion."));
    EXPECT_EQ(setup->findChild<QLabel*>(QStringLiteral("lblLogFilePath"))->text(),
              QString::fromStdString(logs().string()));
}

TEST_F(FrmSetupTest, ChoosingAFileShowsItsLastFilerAndClosesTheChooser) {
    const auto setup = openChooser();
    pick(*setup, QStringLiteral("b.dcf"));
    setup->chooseFile();
    EXPECT_EQ(setup->result(), QDialog::Accepted);
    EXPECT_EQ(request().file.path, files_.path() / "b.dcf");
    EXPECT_EQ(request().file.name, "b.dcf");
    EXPECT_EQ(controlText(window(), "lblImportFileName"), QStringLiteral("Roe"));
    EXPECT_EQ(controlText(window(), "lblFilerType"), QStringLiteral("IND"));
    EXPECT_EQ(controlText(window(), "lblFilerID"), QStringLiteral("F2"));
    EXPECT_EQ(controlText(window(), "lblToolBar"),
              QStringLiteral("Press the Run icon to start your conversion."));

    // The next chooser opens where this file was found.
    const FrmSetup next(request(), window().view(), &window());
    EXPECT_EQ(next.folder(), folder());
}

// A long file is read to its last filer line off the window's thread: the
// window's timers (its clock, its painting) go on meanwhile.
TEST_F(FrmSetupTest, ALongFileIsReadWhileTheWindowGoesOn) {
    std::string lines;
    const std::string contribution = "RCPT,10,1,,,A,2,20260115,10.00,,,\r\n";
    for (int i = 0; i < 400000; ++i) {
        lines += contribution;
    }
    dcf::test::writeFile(files_.path() / "long.DCF_ZV",
                         lines + "FLR,1,0,F,F,COH,F9,Last,Filer,\r\n" + contribution);
    int ticks = 0;
    QTimer ticking;
    QObject::connect(&ticking, &QTimer::timeout, [&ticks] { ++ticks; });
    ticking.start(0);
    window().chooseFile(files_.path() / "long.DCF_ZV");
    ticking.stop();
    EXPECT_GT(ticks, 0);
    EXPECT_EQ(request().file.filerId, "F9");
    EXPECT_EQ(controlText(window(), "lblFilerID"), QStringLiteral("F9"));
}

TEST_F(FrmSetupTest, ChoosingNothingClosesWithoutABoxAndAsksForAFile) {
    window().chooseFile(files_.path() / "a.DCF_ZV");
    const auto setup = openChooser();
    test::BoxAnswerer boxes;
    setup->chooseFile();
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(setup->result(), QDialog::Accepted);
    EXPECT_EQ(request().file.name, "");
    EXPECT_EQ(controlText(window(), "lblImportFileName"), QStringLiteral("No File Selected"));
    EXPECT_EQ(controlText(window(), "lblFilerID"), QString());
    EXPECT_EQ(controlText(window(), "lblToolBar"),
              QStringLiteral("Press the Get File icon to find your conversion file."));
}

TEST_F(FrmSetupTest, AFileThatCannotBeReadIsRefusedAndTheSelectionStays) {
    window().chooseFile(files_.path() / "a.DCF_ZV");
    const auto setup = openChooser();
    setup->findChild<QLineEdit*>(QStringLiteral("txtFileName"))
        ->setText(QStringLiteral("gone.DCF_ZV"));
    test::BoxAnswerer boxes;
    boxes.answer(QMessageBox::Ok, [](QMessageBox& box) {
        EXPECT_EQ(box.icon(), QMessageBox::Information);
        EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
        EXPECT_EQ(box.defaultButton(), box.button(QMessageBox::Ok));
        EXPECT_EQ(box.windowModality(), Qt::ApplicationModal);
    });
    setup->chooseFile();
    EXPECT_EQ(boxes.boxes, (std::vector<std::string>{
                               "Bad FileName|Previous Conversion File is not valid, please "
                               "enter a new file"}));
    EXPECT_NE(setup->result(), QDialog::Accepted);
    EXPECT_EQ(setup->findChild<QLineEdit*>(QStringLiteral("txtFileName"))->text(),
              QStringLiteral("No File"));
    EXPECT_EQ(request().file.name, "a.DCF_ZV");
    EXPECT_EQ(controlText(window(), "lblImportFileName"), QStringLiteral("Jane Doe"));
}

TEST_F(FrmSetupTest, AFolderThatCannotBeOpenedSaysTheDeviceIsNotAvailable) {
    const auto setup = openChooser();
    test::BoxAnswerer boxes;
    EXPECT_FALSE(setup->openFolder(folder() + QStringLiteral("/missing")));
    EXPECT_EQ(boxes.boxes, (std::vector<std::string>{"Device Error|Device not available."}));
    EXPECT_EQ(setup->folder(), folder());
}

TEST_F(FrmSetupTest, ChangeMakesTheFolderOpenedTheLogsFolderOnceChosen) {
    window().chooseFile(files_.path() / "a.DCF_ZV");
    const auto setup = openChooser();
    const std::filesystem::path before = request().logsFolder;
    auto* path = setup->findChild<QLabel*>(QStringLiteral("lblLogFilePath"));
    setup->changeLogFile();
    EXPECT_EQ(setup->folder(), QString::fromStdString(before.string()));
    ASSERT_TRUE(setup->openFolder(folder() + QStringLiteral("/inner")));
    EXPECT_EQ(path->text(), folder() + QStringLiteral("/inner"));
    EXPECT_EQ(request().logsFolder, before) << "only Choose takes it";
    setup->chooseFile();
    EXPECT_EQ(setup->result(), QDialog::Accepted);
    EXPECT_EQ(request().logsFolder, files_.path() / "inner");
    EXPECT_EQ(request().file.name, "a.DCF_ZV") << "the file chosen before stays chosen";

    // A logs folder that is not a folder is refused, and the chooser stays.
    const auto again = openChooser();
    again->findChild<QLabel*>(QStringLiteral("lblLogFilePath"))
        ->setText(QString::fromStdString((files_.path() / "c.txt").string()));
    test::BoxAnswerer boxes;
    again->chooseFile();
    EXPECT_EQ(boxes.boxes, (std::vector<std::string>{"Bad Path|File path is not valid"}));
    EXPECT_NE(again->result(), QDialog::Accepted);
    EXPECT_EQ(request().logsFolder, files_.path() / "inner");
}

} // namespace
} // namespace dcf::ui
