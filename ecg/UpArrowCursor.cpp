#include "ecg/UpArrowCursor.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace UpArrowCursor {

QImage image()
{
    QImage img(32, 32, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    // Head from the tip down to y 14, then a shaft 5 pixels wide down to y 28.
    const QPolygon arrow({QPoint(15, 4), QPoint(25, 14), QPoint(18, 14), QPoint(18, 28), QPoint(12, 28),
                          QPoint(12, 14), QPoint(5, 14)});
    QPainter painter(&img);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(Qt::black);
    painter.drawPolygon(arrow);
    painter.end();
    // The tip itself belongs to the arrow, so that the hot spot is on a visible pixel.
    img.setPixelColor(HotSpot, Qt::white);
    return img;
}

QCursor cursor()
{
    return QCursor(QPixmap::fromImage(image()), HotSpot.x(), HotSpot.y());
}

} // namespace UpArrowCursor
