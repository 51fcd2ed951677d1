#pragma once

#include <QApplication>
#include <QString>

namespace dcf::ui {

// The program's title in captions and boxes: the application name, which
// main sets; "dcfconvert" while there is none.
inline QString programTitle() {
    const QString name = QApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("dcfconvert") : name;
}

// Where the user calls for help, as the main and About windows show it.
constexpr const char* kTechnicalSupport = "Technical Support: 1-800-555-0142 or 1-800-555-0143";

} // namespace dcf::ui
