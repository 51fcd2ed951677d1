#include "frm_about.h"

#include "named_control.h"
#include "program_icon.h"
#include "program_identity.h"
#include "system_info.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>

namespace dcf::ui {
namespace {

constexpr int kIconSize = 64;

QLabel* label(QWidget* parent, const char* name, const QString& text) {
    return named(new QLabel(text, parent), name);
}

QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    return named(new QPushButton(text, parent), name);
}

QFrame* separator(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

FrmAbout::FrmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + programTitle());

    QLabel* picIcon = label(this, "picIcon", {});
    picIcon->setPixmap(programIcon().pixmap(kIconSize, kIconSize));
    picIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* top = new QHBoxLayout();
    top->addWidget(picIcon);
    top->addLayout(buildText(), 1);

    auto* window = new QVBoxLayout(this);
    window->addLayout(top);
    window->addWidget(separator(this));
    window->addLayout(buildRequirements());
    window->addWidget(separator(this));
    window->addLayout(buildButtons());
    // The window is as large as its text, no larger.
    window->setSizeConstraint(QLayout::SetFixedSize);
}

QLayout* FrmAbout::buildText() {
    QLabel* lblTitle = label(this, "lblTitle", programTitle());
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    lblTitle->setFont(titleFont);

    QLabel* lblDescription = label(
        this, "lblDescription",
        QStringLiteral("Converts a DCF campaign-finance data file into the QORVEX filing "
                       "database, checking each record and logging what it could not import."));
    lblDescription->setWordWrap(true);
    lblDescription->setMinimumWidth(320);

    auto* text = new QVBoxLayout();
    text->addWidget(lblTitle);
    text->addWidget(label(this, "lblVersion",
                          QStringLiteral("Version %1.%2.%3")
                              .arg(DCF_VERSION_MAJOR)
                              .arg(DCF_VERSION_MINOR)
                              .arg(DCF_VERSION_PATCH)));
    text->addWidget(
        label(this, "lblDate", QStringLiteral("Compiled Release Date: " DCF_RELEASE_DATE)));
    text->addWidget(lblDescription);
    return text;
}

QLayout* FrmAbout::buildRequirements() {
    // What this build itself needs: the Qt it was built against (or a later
    // 6.x) and a processor of the word size and architecture it was built for.
    auto* requirements = new QVBoxLayout();
    requirements->addWidget(label(this, "lblRequirements", QStringLiteral("Requires:")));
    requirements->addWidget(label(this, "lblRequirementsSystem",
                                  QStringLiteral("Linux with Qt %1.%2 or later")
                                      .arg(QT_VERSION_MAJOR)
                                      .arg(QT_VERSION_MINOR)));
    requirements->addWidget(label(this, "lblRequirementsProcessor",
                                  QStringLiteral("%1-bit processor (%2)")
                                      .arg(QSysInfo::WordSize)
                                      .arg(QSysInfo::buildCpuArchitecture())));
    return requirements;
}

QLayout* FrmAbout::buildButtons() {
    QPushButton* cmdOK = button(this, "cmdOK", QStringLiteral("OK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    QPushButton* cmdSysInfo = button(this, "cmdSysInfo", QStringLiteral("&System Info..."));
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { StartSysInfo(this); });

    auto* buttons = new QHBoxLayout();
    buttons->addWidget(label(this, "lblDisclaimer", QString::fromLatin1(kTechnicalSupport)), 1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    return buttons;
}

} // namespace dcf::ui
