#include "ecg/BandedPaint.h"

#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <vector>

namespace BandedPaint {

namespace {

// The whole-pixel translation of the painter, when that is all its transform does and
// it draws without antialiasing.
bool wholePixelShift(const QPainter &painter, QPoint &shift)
{
    if (painter.testRenderHint(QPainter::Antialiasing))
        return false;
    const QTransform &t = painter.transform();
    if (t.type() > QTransform::TxTranslate)
        return false;
    const qreal dx = t.dx();
    const qreal dy = t.dy();
    if (dx != std::floor(dx) || dy != std::floor(dy) || std::abs(dx) > 1e6 || std::abs(dy) > 1e6)
        return false;
    shift = QPoint(int(dx), int(dy));
    return true;
}

// Thin pens go through a stroker that hands the engine a few dozen pixels at a time, and
// clipping their lines could move pixels: they are never split.
bool thinPen(const QPainter &painter)
{
    const QPen &pen = painter.pen();
    return pen.isCosmetic() || pen.widthF() <= 1;
}

// Rows either side of a line that the painter's pen can reach (caps included).
qreal penReach(const QPainter &painter)
{
    return std::max<qreal>(painter.pen().widthF(), 1) + 2;
}

// Only upright lines are split: clipping a slanted one moves pixels at the band edges.
bool splitInBands(const QLineF &line, qreal reach)
{
    return line.x1() == line.x2() && std::abs(line.y2() - line.y1()) + 2 * reach > BandRows;
}

// The line in bands, each clipped to its rows.
void drawInBands(QPainter &painter, const QLineF &line, qreal reach)
{
    const qreal left = std::min(line.x1(), line.x2()) - reach;
    const qreal right = std::max(line.x1(), line.x2()) + reach;
    const qreal top = std::min(line.y1(), line.y2()) - reach;
    const qreal bottom = std::max(line.y1(), line.y2()) + reach;
    if (!std::isfinite(left) || !std::isfinite(right) || !std::isfinite(top) || !std::isfinite(bottom) ||
        std::max({std::abs(left), std::abs(right), std::abs(top), std::abs(bottom)}) > 1e6) {
        painter.drawLine(line);
        return;
    }
    const int x = int(std::floor(left));
    const int width = int(std::ceil(right)) - x;
    for (int y = int(std::floor(top)); y < bottom; y += BandRows) {
        painter.save();
        painter.setClipRect(QRect(x, y, width, BandRows), Qt::IntersectClip);
        painter.drawLine(line);
        painter.restore();
    }
}

} // namespace

void fillRect(QPainter &painter, const QRectF &rect, const QColor &colour)
{
    QPoint shift;
    if (!wholePixelShift(painter, shift)) {
        painter.fillRect(rect, colour);
        return;
    }
    // The engine fills the rectangle whose edges are the rounded edges of rect on the
    // device; the bands cover the same pixels with whole-pixel rectangles.
    const QRectF device = rect.translated(shift);
    if (!(std::abs(device.left()) < 1e6 && std::abs(device.right()) < 1e6 && std::abs(device.top()) < 1e6 &&
          std::abs(device.bottom()) < 1e6)) {
        painter.fillRect(rect, colour);
        return;
    }
    int x1 = qRound(device.left());
    int y1 = qRound(device.top());
    int x2 = qRound(device.right());
    int y2 = qRound(device.bottom());
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    if (x2 == x1 || y2 == y1)
        return;
    for (int y = y1; y < y2; y += BandRows)
        painter.fillRect(QRect(x1 - shift.x(), y - shift.y(), x2 - x1, std::min(BandRows, y2 - y)), colour);
}

void drawLine(QPainter &painter, const QLineF &line)
{
    QPoint shift;
    const qreal reach = penReach(painter);
    if (thinPen(painter) || !splitInBands(line, reach) || !wholePixelShift(painter, shift))
        painter.drawLine(line);
    else
        drawInBands(painter, line, reach);
}

void drawLines(QPainter &painter, const QLineF *lines, int count)
{
    QPoint shift;
    if (painter.pen().style() != Qt::SolidLine || thinPen(painter) || !wholePixelShift(painter, shift)) {
        painter.drawLines(lines, count);
        return;
    }
    const qreal reach = penReach(painter);
    std::vector<QLineF> together;
    together.reserve(size_t(std::max(0, count)));
    std::vector<QLineF> banded;
    for (int i = 0; i < count; ++i)
        (splitInBands(lines[i], reach) ? banded : together).push_back(lines[i]);
    painter.drawLines(together.data(), int(together.size()));
    for (const QLineF &line : banded)
        drawInBands(painter, line, reach);
}

} // namespace BandedPaint
