#include "ui_settings.h"

#include <QSettings>

namespace dcf::ui {
namespace {

const QString kLastFolder = QStringLiteral("chooser/lastFolder");

// ~/.config/dcfconvert/dcfconvert.conf, whatever the application object says.
QSettings settings() {
    return QSettings(QStringLiteral("dcfconvert"), QStringLiteral("dcfconvert"));
}

} // namespace

QString lastFolder() {
    return settings().value(kLastFolder).toString();
}

void rememberLastFolder(const QString& folder) {
    settings().setValue(kLastFolder, folder);
}

} // namespace dcf::ui
