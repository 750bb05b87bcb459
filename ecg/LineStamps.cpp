#include "ecg/LineStamps.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Solid, opaque and wider than a pixel: the engine's wide-line drawing, whose pixels keep
// their shape wherever the line lies. Thin lines go through another stroker whose pixels
// may depend on where the line lies.
bool stampable(const QPen &pen)
{
    return pen.style() == Qt::SolidLine && pen.brush().style() == Qt::SolidPattern && pen.color().alpha() == 255 &&
        !pen.isCosmetic() && pen.widthF() > 1;
}

// The same shape of line: everything of the pen but its colour.
bool sameShape(const QPen &a, const QPen &b)
{
    return a.widthF() == b.widthF() && a.capStyle() == b.capStyle() && a.joinStyle() == b.joinStyle() &&
        a.isCosmetic() == b.isCosmetic() && a.style() == b.style() && a.miterLimit() == b.miterLimit();
}

bool wholePixel(qreal v, int &out)
{
    if (!(std::abs(v) < 1e6) || v != std::floor(v))
        return false;
    out = int(v);
    return true;
}

} // namespace

LineStamps::Stamp LineStamps::make(const QPen &pen, int dx, int dy)
{
    const int margin = int(std::ceil(pen.widthF())) + 3;
    QImage scratch(std::abs(dx) + 2 * margin + 1, std::abs(dy) + 2 * margin + 1, QImage::Format_RGB32);
    scratch.fill(QColor(0, 0, 0));
    const QPoint origin(margin + std::max(0, -dx), margin + std::max(0, -dy));
    QPen white = pen;
    white.setColor(QColor(255, 255, 255));
    QPainter painter(&scratch);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(white);
    painter.drawLine(QLineF(origin, origin + QPointF(dx, dy)));
    painter.end();

    constexpr uint32_t Covered = 0xffffffff; // white, on black
    Stamp stamp;
    for (int y = 0; y < scratch.height(); ++y) {
        const auto *row = reinterpret_cast<const uint32_t *>(scratch.constScanLine(y));
        for (int x = 0; x < scratch.width();) {
            if (row[x] != Covered) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < scratch.width() && row[x] == Covered)
                ++x;
            stamp.runs.push_back({y - origin.y(), start - origin.x(), x - start});
            stamp.bounds |= QRect(start - origin.x(), y - origin.y(), x - start, 1);
        }
    }
    return stamp;
}

std::vector<QLineF> LineStamps::draw(uchar *bits, qsizetype bytesPerLine, const QRect &clip, QPoint shift,
                                     const QPen &pen, const QLineF *lines, int count)
{
    std::vector<QLineF> rest;
    rest.reserve(size_t(std::max(0, count)));
    if (!stampable(pen)) {
        rest.assign(lines, lines + std::max(0, count));
        return rest;
    }
    if (!sameShape(pen, m_pen)) {
        m_stamps.clear();
        m_runs = 0;
        m_pen = pen;
    }
    const uint32_t colour = pen.color().rgba();
    // The engine clips a line that comes near the clip's edges: such lines go to it.
    const QRect inside = clip.adjusted(2, 2, -2, -2);
    for (int i = 0; i < count; ++i) {
        const QLineF &line = lines[i];
        int x1 = 0;
        int y1 = 0;
        int x2 = 0;
        int y2 = 0;
        if (!wholePixel(line.x1() + shift.x(), x1) || !wholePixel(line.y1() + shift.y(), y1) ||
            !wholePixel(line.x2() + shift.x(), x2) || !wholePixel(line.y2() + shift.y(), y2)) {
            rest.push_back(line);
            continue;
        }
        const int dx = x2 - x1;
        const int dy = y2 - y1;
        if (std::abs(dx) > MaxDx || std::abs(dy) > MaxDy || (dx == 0 && dy == 0) || !inside.contains(x1, y1) ||
            !inside.contains(x2, y2)) {
            rest.push_back(line);
            continue;
        }
        const uint32_t key = uint32_t(dx + MaxDx) * uint32_t(2 * MaxDy + 1) + uint32_t(dy + MaxDy);
        auto found = m_stamps.find(key);
        if (found == m_stamps.end()) {
            Stamp made = make(pen, dx, dy);
            if (m_runs + made.runs.size() > MaxRuns) {
                m_stamps.clear();
                m_runs = 0;
            }
            m_runs += made.runs.size();
            found = m_stamps.emplace(key, std::move(made)).first;
        }
        const Stamp &stamp = found->second;
        if (!inside.contains(stamp.bounds.translated(x1, y1))) {
            rest.push_back(line);
            continue;
        }
        for (const Run &run : stamp.runs) {
            auto *row = reinterpret_cast<uint32_t *>(bits + (y1 + run.dy) * bytesPerLine) + x1 + run.dx;
            std::fill(row, row + run.length, colour);
        }
    }
    return rest;
}
