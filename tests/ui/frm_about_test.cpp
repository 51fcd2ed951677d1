#include "frm_about.h"

#include "program_icon.h"
#include "system_info.h"
#include "ui_test_support.h"

#include <QApplication>
#include <QDate>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace dcf::ui {
namespace {

// The application name main sets, for the length of one test.
class ProgramName {
public:
    ProgramName() : previous_(QApplication::applicationName()) {
        QApplication::setApplicationName(QStringLiteral("dcfconvert"));
    }
    ~ProgramName() { QApplication::setApplicationName(previous_); }
    ProgramName(const ProgramName&) = delete;
    ProgramName& operator=(const ProgramName&) = delete;

private:
    QString previous_;
};

// A folder of stand-in programs, alone on the PATH while it lives. Each
// program, when started, leaves a file named after itself in the folder.
class FakePrograms {
public:
    FakePrograms() : hadPath_(qEnvironmentVariableIsSet("PATH")), path_(qgetenv("PATH")) {
        qputenv("PATH", QFile::encodeName(folder_.path()));
    }
    ~FakePrograms() {
        if (hadPath_) {
            qputenv("PATH", path_);
        } else {
            qunsetenv("PATH");
        }
    }
    FakePrograms(const FakePrograms&) = delete;
    FakePrograms& operator=(const FakePrograms&) = delete;

    // The started program runs with this PATH too: the script uses only the
    // shell's built-ins.
    QString add(const QString& name) {
        return write(name, "#!/bin/sh\necho started > '" + startedFile(name).toUtf8() + "'\n");
    }
    // Executable, but not a program the system can start.
    QString addBroken(const QString& name) { return write(name, "not a program\n"); }

    [[nodiscard]] bool started(const QString& name) const {
        return QFile::exists(startedFile(name));
    }

private:
    [[nodiscard]] QString startedFile(const QString& name) const {
        return folder_.filePath(name + QStringLiteral(".started"));
    }
    QString write(const QString& name, const QByteArray& content) {
        QFile file(folder_.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
        file.write(content);
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return file.fileName();
    }

    QTemporaryDir folder_;
    bool hadPath_;
    QByteArray path_;
};

QString text(const FrmAbout& about, const char* name) {
    if (auto* label = about.findChild<QLabel*>(QString::fromLatin1(name))) {
        return label->text();
    }
    return QStringLiteral("<no label %1>").arg(QString::fromLatin1(name));
}

QPushButton* button(const FrmAbout& about, const char* name) {
    return about.findChild<QPushButton*>(QString::fromLatin1(name));
}

TEST(FrmAbout, ShowsTheProgramItsVersionAndReleaseDate) {
    ProgramName name;
    FrmAbout about;
    EXPECT_EQ(about.objectName(), QStringLiteral("frmAbout"));
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About dcfconvert"));
    EXPECT_EQ(text(about, "lblTitle"), QStringLiteral("dcfconvert"));
    EXPECT_EQ(text(about, "lblVersion"), QStringLiteral("Version " DCF_VERSION));

    const QString prefix = QStringLiteral("Compiled Release Date: ");
    const QString date = text(about, "lblDate");
    ASSERT_TRUE(date.startsWith(prefix)) << date.toStdString();
    EXPECT_TRUE(QDate::fromString(date.mid(prefix.size()), Qt::ISODate).isValid())
        << date.toStdString();

    auto* icon = about.findChild<QLabel*>(QStringLiteral("picIcon"));
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->pixmap().isNull());
    for (const char* label :
         {"lblDescription", "lblDisclaimer", "lblRequirementsSystem", "lblRequirementsProcessor"}) {
        ASSERT_NE(about.findChild<QLabel*>(QString::fromLatin1(label)), nullptr) << label;
        EXPECT_FALSE(text(about, label).isEmpty()) << label;
    }
}

TEST(FrmAbout, OkIsTheDefaultAndClosesTheWindow) {
    FrmAbout about;
    about.show();
    QPushButton* ok = button(about, "cmdOK");
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
    ok->click();
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST(SystemInfo, WithNoProgramThatStartsTellsTheUserOnce) {
    ProgramName name;
    FrmAbout about;
    QPushButton* sysInfo = button(about, "cmdSysInfo");
    ASSERT_NE(sysInfo, nullptr);
    EXPECT_EQ(sysInfo->text(), QStringLiteral("&System Info..."));
    for (const bool withBrokenProgram : {false, true}) {
        FakePrograms programs;
        if (withBrokenProgram) {
            programs.addBroken(QStringLiteral("hardinfo2"));
        }
        test::BoxAnswerer answerer;
        answerer.answer(QMessageBox::Ok, [](QMessageBox& box) {
            EXPECT_EQ(box.icon(), QMessageBox::Information);
            EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
            EXPECT_EQ(box.defaultButton(), box.button(QMessageBox::Ok));
        });
        sysInfo->click();
        EXPECT_EQ(
            answerer.boxes,
            std::vector<std::string>{"dcfconvert|System Information Is Unavailable At This Time"})
            << "broken program on the PATH: " << withBrokenProgram;
    }
}

TEST(SystemInfo, StartsTheProgramFoundWithoutABox) {
    FakePrograms programs;
    programs.add(QStringLiteral("hardinfo2"));
    FrmAbout about;
    test::BoxAnswerer answerer;
    button(about, "cmdSysInfo")->click();
    EXPECT_TRUE(test::processUntil([&] { return programs.started(QStringLiteral("hardinfo2")); }));
    EXPECT_TRUE(answerer.boxes.empty());
}

TEST(SystemInfo, TakesCandidatesInOrderPastOnesThatDoNotStart) {
    FakePrograms programs;
    programs.addBroken(QStringLiteral("first"));
    const QString second = programs.add(QStringLiteral("second"));
    programs.add(QStringLiteral("third"));
    const QStringList candidates = {QStringLiteral("missing"), QStringLiteral("first"),
                                    QStringLiteral("second"), QStringLiteral("third")};
    EXPECT_EQ(findSystemInfoProgram({QStringLiteral("missing"), QStringLiteral("second")}), second);
    EXPECT_TRUE(findSystemInfoProgram({QStringLiteral("missing")}).isEmpty());

    ASSERT_TRUE(startSystemInfoProgram(candidates));
    EXPECT_TRUE(test::processUntil([&] { return programs.started(QStringLiteral("second")); }));
    EXPECT_FALSE(programs.started(QStringLiteral("third")));
}

// Where the drawing's arrow and database lie on its 64 by 64 grid, so that
// a size drawn unscaled or off its grid shows in the colours found there.
TEST(ProgramIcon, EverySizeShowsTheArrowAndTheDatabase) {
    const QIcon icon = programIcon();
    for (const int size : {16, 32, 48, 64, 128}) {
        ASSERT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
        const QImage image = icon.pixmap(size).toImage();
        const auto at = [&](int x, int y) {
            return image.pixelColor(x * size / 64, y * size / 64);
        };
        EXPECT_EQ(at(0, 0).alpha(), 0) << size;
        const QColor arrow = at(38, 36);
        EXPECT_EQ(arrow.alpha(), 255) << size;
        EXPECT_GT(arrow.red(), arrow.blue()) << size;
        const QColor database = at(50, 28);
        EXPECT_EQ(database.alpha(), 255) << size;
        EXPECT_GT(database.blue(), database.red()) << size;
    }
}

} // namespace
} // namespace dcf::ui
