#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace dcf::ui {

// The system-information programs System Info looks for, in the order it
// tries them.
const QStringList& systemInfoPrograms();

// The path of the first of `candidates` found as an executable on the PATH;
// empty when none is.
QString findSystemInfoProgram(const QStringList& candidates);

// Starts, detached, the first of `candidates` on the PATH that starts at
// all; false when none is found or none starts.
bool startSystemInfoProgram(const QStringList& candidates);

// The About window's System Info: starts a system-information program, or
// tells the user that none is available.
void StartSysInfo(QWidget* parent);

} // namespace dcf::ui
