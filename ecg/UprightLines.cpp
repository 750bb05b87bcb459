#include "ecg/UprightLines.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

QRect uprightLinePixels(const QLineF &line, qreal penWidth)
{
    if (line.x1() != line.x2() || line.y1() == line.y2())
        return {};
    qreal top = line.y1();
    qreal bottom = line.y2();
    if (top > bottom)
        std::swap(top, bottom);
    const qreal length = bottom - top; // the line's length: exactly what hypot gives for an upright line
    // The pen's width as the engine takes it: relative to the line's length.
    const qreal relative = penWidth / length;
    const qreal halfWidth = qreal(0.5f) * relative * (bottom - top);
    const qreal left = line.x1() - halfWidth;
    const qreal right = line.x1() + halfWidth;
    const qreal reach = std::max({std::abs(left), std::abs(right), std::abs(top), std::abs(bottom)});
    if (!(reach < 1e6))
        return {};
    const int iLeft = int(left + qreal(0.5f));
    const int iRight = int(right + qreal(0.5f));
    const int iTop = int(top + qreal(0.5f));
    const int iBottom = int(bottom + qreal(0.5f));
    if (iLeft >= iRight || iTop >= iBottom)
        return {};
    return QRect(iLeft, iTop, iRight - iLeft, iBottom - iTop);
}

bool writesUprightLines(const QPen &pen)
{
    return pen.style() == Qt::SolidLine && pen.capStyle() == Qt::FlatCap && !pen.isCosmetic() &&
        pen.widthF() > 1 && pen.brush().style() == Qt::SolidPattern && pen.color().alpha() == 255;
}

std::vector<QLineF> drawUprightLines(uchar *bits, qsizetype bytesPerLine, const QRect &clip, QPoint shift,
                                     const QPen &pen, const QLineF *lines, int count)
{
    std::vector<QLineF> rest;
    rest.reserve(size_t(std::max(0, count)));
    if (!writesUprightLines(pen)) {
        rest.assign(lines, lines + std::max(0, count));
        return rest;
    }
    const uint32_t colour = pen.color().rgba();
    const QPointF offset(shift);
    for (int i = 0; i < count; ++i) {
        const QLineF &line = lines[i];
        const QRect pixels = uprightLinePixels(line.translated(offset), pen.widthF());
        if (pixels.isEmpty() || !clip.contains(pixels)) {
            rest.push_back(line);
            continue;
        }
        for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
            auto *row = reinterpret_cast<uint32_t *>(bits + y * bytesPerLine);
            std::fill(row + pixels.left(), row + pixels.right() + 1, colour);
        }
    }
    return rest;
}
