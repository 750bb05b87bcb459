#include "app/DetailIcons.h"

#include <QPainter>
#include <QPainterPath>

namespace DetailIcons {
namespace {

const QColor Ink(40, 40, 40);
const QColor Trace(0, 110, 0);
const QColor Grid(240, 170, 170);

QImage blank(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void drawGeneral(QPainter &p)
{
    // A card with a person's head and three lines of fields.
    p.setPen(Ink);
    p.setBrush(Qt::white);
    p.drawRect(1, 2, 13, 11);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 90, 160));
    p.drawEllipse(3, 4, 4, 4);
    p.drawRect(3, 9, 4, 2);
    p.setPen(Ink);
    p.drawLine(9, 5, 12, 5);
    p.drawLine(9, 7, 12, 7);
    p.drawLine(9, 10, 12, 10);
}

void drawEntireEcg(QPainter &p)
{
    // Three short rows of trace on a strip.
    p.setPen(Ink);
    p.setBrush(Qt::white);
    p.drawRect(0, 1, 15, 13);
    p.setPen(Trace);
    for (int y : {4, 8, 12})
        p.drawPolyline(QPolygon({QPoint(1, y), QPoint(5, y), QPoint(6, y - 2), QPoint(7, y + 1), QPoint(8, y),
                                 QPoint(14, y)}));
}

void drawEnlargedEcg(QPainter &p)
{
    // One large beat on a grid.
    p.setPen(Ink);
    p.setBrush(Qt::white);
    p.drawRect(0, 1, 15, 13);
    p.setPen(Grid);
    for (int x = 4; x < 15; x += 4)
        p.drawLine(x, 2, x, 13);
    for (int y = 5; y < 14; y += 4)
        p.drawLine(1, y, 14, y);
    QPen pen(Trace);
    pen.setWidth(2);
    p.setPen(pen);
    p.drawPolyline(QPolygon({QPoint(1, 10), QPoint(5, 10), QPoint(7, 3), QPoint(9, 12), QPoint(10, 10),
                             QPoint(14, 10)}));
}

} // namespace

QImage tabImage(Tab which)
{
    QImage image = blank(TabImageSize);
    QPainter p(&image);
    switch (which) {
    case Tab::General: drawGeneral(p); break;
    case Tab::EntireEcg: drawEntireEcg(p); break;
    case Tab::EnlargedEcg: drawEnlargedEcg(p); break;
    }
    return image;
}

QIcon tabIcon(Tab which)
{
    return QIcon(QPixmap::fromImage(tabImage(which)));
}

QImage playbackImage(Playback which)
{
    QImage image = blank(PlaybackImageSize);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Ink, 1));
    if (which == Playback::Play) {
        p.setBrush(QColor(30, 150, 60));
        p.drawPolygon(QPolygonF({QPointF(6, 3.5), QPointF(20.5, 12), QPointF(6, 20.5)}));
    } else {
        p.setBrush(QColor(190, 40, 40));
        p.drawRect(QRectF(5.5, 5.5, 13, 13));
    }
    return image;
}

QIcon playbackIcon(Playback which)
{
    return QIcon(QPixmap::fromImage(playbackImage(which)));
}

} // namespace DetailIcons
