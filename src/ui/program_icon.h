#pragma once

#include <QIcon>
#include <QImage>

namespace dcf::ui {

// The program's icon: a data page with an arrow into a database. It is
// painted here rather than loaded, because an SVG icon needs a Qt image
// plugin that not every installation has; share/dcfconvert.svg holds the
// same drawing for the desktop.
QIcon programIcon();

// The icon painted at `size` by `size` pixels.
QImage paintProgramIcon(int size);

} // namespace dcf::ui
