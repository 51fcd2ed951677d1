// Writes the program's icon as PNG files for the desktop's icon theme:
// FOLDER/NxN/apps/dcfconvert.png for each size N. The window paints the
// same icon; painting into an image needs no display.
//
//   dcfconvert-icon-png FOLDER SIZE...

#include "program_icon.h"

#include <QDir>
#include <QImage>
#include <QString>
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: dcfconvert-icon-png FOLDER SIZE...\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (int k = 2; k < argc; ++k) {
        const int size = std::stoi(argv[k]);
        const QString apps = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        const QString path = apps + QStringLiteral("/dcfconvert.png");
        if (!QDir().mkpath(apps) || !dcf::ui::paintProgramIcon(size).save(path, "PNG")) {
            std::fprintf(stderr, "dcfconvert-icon-png: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
