#include "program_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <iterator>

namespace dcf::ui {
namespace {

// The drawing is laid out on a 64 by 64 grid, the same grid as
// share/dcfconvert.svg; keep the two alike.
constexpr qreal kGrid = 64.0;

const QColor kOutline(0x1F, 0x3A, 0x5F);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kDatabase(0x2E, 0x6D, 0xB4);
const QColor kDatabaseTop(0x6F, 0xA3, 0xDC);
const QColor kArrow(0xF2, 0x8C, 0x28);

QPen outlinePen(qreal width) {
    return QPen(kOutline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A page with its top right corner folded over and three rows of data.
void drawPage(QPainter& painter) {
    QPainterPath page;
    page.moveTo(4, 8);
    page.lineTo(20, 8);
    page.lineTo(28, 16);
    page.lineTo(28, 56);
    page.lineTo(4, 56);
    page.closeSubpath();
    painter.setPen(outlinePen(3));
    painter.setBrush(kPaper);
    painter.drawPath(page);

    QPainterPath fold;
    fold.moveTo(20, 8);
    fold.lineTo(20, 16);
    fold.lineTo(28, 16);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(fold);

    // Rows above and below the arrow; the first stops short of the fold.
    painter.setPen(outlinePen(2.5));
    painter.drawLine(QPointF(9, 16), QPointF(15, 16));
    painter.drawLine(QPointF(9, 23), QPointF(23, 23));
    painter.drawLine(QPointF(9, 49), QPointF(23, 49));
}

// A cylinder standing on the right half, its top seen from above.
void drawDatabase(QPainter& painter) {
    const QRectF top(34, 12, 26, 10);
    const QRectF bottom(34, 46, 26, 10);
    QPainterPath body;
    body.moveTo(top.left(), top.center().y());
    body.lineTo(bottom.left(), bottom.center().y());
    body.arcTo(bottom, 180, 180);
    body.lineTo(top.right(), top.center().y());
    body.arcTo(top, 0, 180);
    body.closeSubpath();
    painter.setPen(outlinePen(3));
    painter.setBrush(kDatabase);
    painter.drawPath(body);
    painter.setBrush(kDatabaseTop);
    painter.drawEllipse(top);
}

// A bold arrow from the page into the database, drawn over both.
void drawArrow(QPainter& painter) {
    const QPointF points[] = {{12, 31}, {32, 31}, {32, 24}, {48, 36}, {32, 48}, {32, 41}, {12, 41}};
    painter.setPen(outlinePen(2));
    painter.setBrush(kArrow);
    painter.drawPolygon(points, static_cast<int>(std::size(points)));
}

} // namespace

QImage paintProgramIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kGrid, size / kGrid);
    drawPage(painter);
    drawDatabase(painter);
    drawArrow(painter);
    return image;
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128}) {
        icon.addPixmap(QPixmap::fromImage(paintProgramIcon(size)));
    }
    return icon;
}

} // namespace dcf::ui
