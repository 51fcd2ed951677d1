#pragma once

#include <QString>

namespace dcf::ui {

// What the window keeps between sessions in the user's settings.

// The folder of the last file chosen, or empty.
QString lastFolder();
void rememberLastFolder(const QString& folder);

} // namespace dcf::ui
