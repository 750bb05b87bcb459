#pragma once

#include <QImage>
#include <QPen>

// A picture whose every pixel differs from its neighbours, so that a pixel blended twice,
// or missed, shows when a drawing is compared with the painter's own.
inline QImage patternedPicture(QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb((x * 7 + y * 3) % 256, (x * 5 + y * 11) % 256, (x ^ y) % 256));
    return picture;
}

// A pen as the ECG pictures make them: mitred joins.
inline QPen ecgPen(QColor colour, qreal width, Qt::PenCapStyle cap = Qt::FlatCap, Qt::PenStyle style = Qt::SolidLine)
{
    return QPen(colour, width, style, cap, Qt::MiterJoin);
}
