#include "ecg/LineStamps.h"

#include <QPainter>

#include <algorithm>
#include <bit>
#include <cmath>
#include <optional>
#include <utility>

namespace {

// Solid, opaque and wider than a pixel: the engine's wide-line drawing, whose pixels keep
// their shape when the line moves by whole pixels. Thin lines go through another stroker
// whose pixels may depend on where the line lies.
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

// Margin of the scratch picture around a shape: more than the pen reaches.
int scratchMargin(const QPen &pen)
{
    return int(std::ceil(pen.widthF())) + 3;
}

constexpr uint32_t Covered = 0xffffffff; // white, on black

} // namespace

size_t LineStamps::ShapeHash::operator()(const Shape &s) const
{
    // The places within the rows by their bits (equal shapes have equal bits; 0 and -0 do
    // not occur, the places being y - floor(y)), mixed by multiplying.
    uint64_t h = (uint64_t(uint32_t(s.dx + 16)) << 32) ^ uint64_t(uint32_t(s.dy + 4096));
    h = (h ^ std::bit_cast<uint64_t>(s.from)) * 0x9e3779b97f4a7c15ull;
    h = (h ^ (h >> 29) ^ std::bit_cast<uint64_t>(s.to)) * 0xbf58476d1ce4e5b9ull;
    return size_t(h ^ (h >> 32));
}

// The engine draws the shape with its first end in a pixel near the scratch picture's
// top-left: the line moved there by whole pixels, which keeps its place within the rows
// exact (a whole number plus a fraction below one).
LineStamps::Stamp LineStamps::make(QPainter &painter, const Shape &shape)
{
    const int margin = scratchMargin(m_pen);
    const QPoint origin(margin + std::max(0, -shape.dx), margin + std::max(0, -shape.dy));
    const int width = std::abs(shape.dx) + 2 * margin + 1;
    const int height = std::abs(shape.dy) + 2 * margin + 2;
    const QRect area(0, 0, width, height);
    painter.fillRect(area, QColor(0, 0, 0));
    painter.drawLine(QLineF(origin.x(), origin.y() + shape.from, origin.x() + shape.dx,
                            origin.y() + shape.dy + shape.to));

    Stamp stamp;
    for (int y = 0; y < height; ++y) {
        const auto *row = reinterpret_cast<const uint32_t *>(m_scratch.constScanLine(y));
        for (int x = 0; x < width;) {
            if (row[x] != Covered) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < width && row[x] == Covered)
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
    // The scratch painter, begun at the first new shape of this call.
    std::optional<QPainter> scratch;
    const uint32_t colour = pen.color().rgba();
    // The engine clips a line that comes near the clip's edges: such lines go to it.
    const QRect inside = clip.adjusted(2, 2, -2, -2);
    for (int i = 0; i < count; ++i) {
        const QLineF &line = lines[i];
        // Device coordinates, as the painter's translation gives them.
        const qreal y1 = line.y1() + shift.y();
        const qreal y2 = line.y2() + shift.y();
        int x1 = 0;
        int x2 = 0;
        if (!wholePixel(line.x1() + shift.x(), x1) || !wholePixel(line.x2() + shift.x(), x2) ||
            !(std::abs(y1) < 1e6) || !(std::abs(y2) < 1e6) || line.p1() == line.p2()) {
            rest.push_back(line);
            continue;
        }
        const int row1 = int(std::floor(y1));
        const int row2 = int(std::floor(y2));
        const Shape shape{x2 - x1, row2 - row1, y1 - row1, y2 - row2};
        if (std::abs(shape.dx) > MaxDx || std::abs(shape.dy) > MaxDy || !inside.contains(x1, row1) ||
            !inside.contains(x2, row2)) {
            rest.push_back(line);
            continue;
        }
        auto found = m_stamps.find(shape);
        if (found == m_stamps.end()) {
            if (!scratch) {
                const int margin = scratchMargin(pen);
                const QSize needed(MaxDx + 2 * margin + 1, MaxDy + 2 * margin + 2);
                if (m_scratch.size() != needed)
                    m_scratch = QImage(needed, QImage::Format_RGB32);
                scratch.emplace(&m_scratch);
                scratch->setRenderHint(QPainter::Antialiasing, false);
                QPen white = pen;
                white.setColor(QColor(255, 255, 255));
                scratch->setPen(white);
            }
            Stamp made = make(*scratch, shape);
            if (m_runs + made.runs.size() > MaxRuns) {
                m_stamps.clear();
                m_runs = 0;
            }
            m_runs += made.runs.size();
            found = m_stamps.emplace(shape, std::move(made)).first;
        }
        const Stamp &stamp = found->second;
        if (!inside.contains(stamp.bounds.translated(x1, row1))) {
            rest.push_back(line);
            continue;
        }
        for (const Run &run : stamp.runs) {
            auto *row = reinterpret_cast<uint32_t *>(bits + (row1 + run.dy) * bytesPerLine) + x1 + run.dx;
            std::fill(row, row + run.length, colour);
        }
    }
    return rest;
}
