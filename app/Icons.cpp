#include "app/Icons.h"

#include <QPainter>
#include <QPainterPath>

namespace Icons {
namespace {

const QColor Ink(40, 40, 40);

void drawNew(QPainter &p)
{
    // A sheet with a folded corner.
    QPolygon sheet({QPoint(3, 1), QPoint(10, 1), QPoint(13, 4), QPoint(13, 14), QPoint(3, 14)});
    p.setBrush(Qt::white);
    p.setPen(Ink);
    p.drawPolygon(sheet);
    p.drawPolyline(QPolygon({QPoint(10, 1), QPoint(10, 4), QPoint(13, 4)}));
}

void drawOpen(QPainter &p)
{
    // An open folder.
    p.setPen(Ink);
    p.setBrush(QColor(230, 190, 80));
    p.drawPolygon(QPolygon({QPoint(1, 3), QPoint(5, 3), QPoint(6, 4), QPoint(12, 4), QPoint(12, 13), QPoint(1, 13)}));
    p.setBrush(QColor(250, 215, 110));
    p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(12, 13), QPoint(1, 13)}));
}

void drawSave(QPainter &p)
{
    // A floppy disk.
    p.setPen(Ink);
    p.setBrush(QColor(60, 90, 160));
    p.drawRect(1, 1, 13, 13);
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 7, 5);
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(4, 9, 7, 5);
}

void drawPrint(QPainter &p)
{
    // A printer with a sheet.
    p.setPen(Ink);
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 8, 5);
    p.setBrush(QColor(170, 170, 170));
    p.drawRect(1, 6, 14, 6);
    p.setBrush(Qt::white);
    p.drawRect(4, 10, 8, 4);
    p.setPen(QColor(0, 160, 0));
    p.drawPoint(13, 8);
}

void drawAbout(QPainter &p)
{
    // A question mark.
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(14);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(0, 70, 160));
    p.drawText(QRect(0, 0, ToolbarWidth, ToolbarHeight), Qt::AlignCenter, QStringLiteral("?"));
}

void drawArrow(QPainter &p, bool left)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 120, 60));
    const int tip = left ? 2 : 13;
    const int base = left ? 8 : 7;
    p.drawPolygon(QPolygon({QPoint(tip, 7), QPoint(base, 2), QPoint(base, 12)}));
    p.drawRect(left ? 8 : 2, 5, 6, 5);
}

} // namespace

QImage toolbarImage(Toolbar which)
{
    QImage image(ToolbarWidth, ToolbarHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    switch (which) {
    case Toolbar::New: drawNew(p); break;
    case Toolbar::Open: drawOpen(p); break;
    case Toolbar::Save: drawSave(p); break;
    case Toolbar::Print: drawPrint(p); break;
    case Toolbar::About: drawAbout(p); break;
    case Toolbar::PreviousPage: drawArrow(p, true); break;
    case Toolbar::NextPage: drawArrow(p, false); break;
    }
    return image;
}

QIcon toolbarIcon(Toolbar which)
{
    return QIcon(QPixmap::fromImage(toolbarImage(which)));
}

QImage programImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);

    QPainterPath heart;
    heart.moveTo(16, 29);
    heart.cubicTo(4, 20, 1, 13, 3, 8);
    heart.cubicTo(5, 2, 13, 2, 16, 8);
    heart.cubicTo(19, 2, 27, 2, 29, 8);
    heart.cubicTo(31, 13, 28, 20, 16, 29);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 30, 40));
    p.drawPath(heart);

    QPen trace(Qt::white, 2.2);
    trace.setJoinStyle(Qt::RoundJoin);
    p.setPen(trace);
    p.drawPolyline(QPolygonF({QPointF(3, 15), QPointF(10, 15), QPointF(12, 11), QPointF(15, 21), QPointF(18, 6),
                              QPointF(21, 15), QPointF(29, 15)}));
    return image;
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128})
        icon.addPixmap(QPixmap::fromImage(programImage(size)));
    return icon;
}

} // namespace Icons
