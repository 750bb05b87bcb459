#include "ecg/ThinLines.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace {

int to26Dot6(qreal v)
{
    return int(v * 64);
}

int fixedDiv(int a, int b)
{
    return int((int64_t(a) * 65536) / b);
}

// At least a pixel from the edges: every pixel of a line between two such points, half a
// pixel more at a start or an end included, lies in the picture.
bool inside(const QPointF &p, QSize area)
{
    return p.x() >= 1 && p.y() >= 1 && p.x() < area.width() - 1 && p.y() < area.height() - 1;
}

// Directions of a line as the engine keeps them between the lines of one call.
enum Direction { NoDirection = 0, TopToBottom = 1, BottomToTop = 2, LeftToRight = 4, RightToLeft = 8 };

bool takes(const QLineF &line, QSize area)
{
    return inside(line.p1(), area) && inside(line.p2(), area);
}

// One pixel per step along the line's major axis a (rows for a steep line, columns for a
// flat one), from its lower end; put(a, b) takes the major and the minor coordinate.
// lastDir is the direction of the last line of the same call that set a pixel: a line that
// turns back from it gains half a pixel at its start.
template <typename Put>
void stepLine(int a1, int b1, int a2, int b2, int forward, int backward, int &lastDir, Put put)
{
    const bool swapped = a1 > a2;
    if (swapped) {
        std::swap(a1, a2);
        std::swap(b1, b2);
    }
    const int dir = swapped ? backward : forward;
    const int binc = fixedDiv(b2 - b1, a2 - a1);
    int b = b1 * 1024;
    if ((lastDir ^ (forward | backward)) == dir) {
        if (swapped) {
            a2 += 32;
        } else {
            a1 -= 32;
            b -= binc >> 1;
        }
    }
    int as = (a1 + 32) >> 6;
    const int ae = (a2 + 32) >> 6;
    if (as == ae)
        return;
    const int round = binc > 0 ? 32 : 0;
    b += (((as << 6) + round - a1) * binc) >> 6;
    lastDir = dir;
    for (; as < ae; ++as, b += binc)
        put(as, b >> 16);
}

// Calls put(x, y) for each pixel of a line the writer takes.
template <typename Put>
void forEachPixel(const QLineF &line, int &lastDir, Put put)
{
    if (line.p1() == line.p2()) {
        // A point: the pixel it lies nearest to; the direction stays.
        put((to26Dot6(line.x1()) + 32) >> 6, (to26Dot6(line.y1()) + 32) >> 6);
        return;
    }
    const int x1 = to26Dot6(line.x1());
    const int y1 = to26Dot6(line.y1());
    const int x2 = to26Dot6(line.x2());
    const int y2 = to26Dot6(line.y2());
    const int dx = std::abs(x2 - x1);
    const int dy = std::abs(y2 - y1);
    if (dx < dy)
        stepLine(y1, x1, y2, x2, TopToBottom, BottomToTop, lastDir, [&](int y, int x) { put(x, y); });
    else if (dx != 0) // a flat line shorter than 1/64 pixel draws nothing
        stepLine(x1, y1, x2, y2, LeftToRight, RightToLeft, lastDir, put);
}

} // namespace

bool writesThinLines(const QPen &pen)
{
    return pen.style() == Qt::SolidLine && pen.capStyle() == Qt::FlatCap && pen.widthF() <= 1 &&
        pen.brush().style() == Qt::SolidPattern && pen.color().alpha() == 255;
}

std::vector<QPoint> thinLinePixels(const QLineF &line, QSize area)
{
    std::vector<QPoint> pixels;
    int lastDir = NoDirection;
    if (takes(line, area))
        forEachPixel(line, lastDir, [&](int x, int y) { pixels.emplace_back(x, y); });
    return pixels;
}

std::vector<QLineF> drawThinLines(uchar *bits, qsizetype bytesPerLine, QSize size, QRgb colour,
                                  const QLineF *lines, int count)
{
    // A line the writer does not take would still turn the engine's direction for the lines
    // after it: with one such line, the painter draws them all.
    if (!std::all_of(lines, lines + std::max(0, count), [&](const QLineF &line) { return takes(line, size); }))
        return std::vector<QLineF>(lines, lines + std::max(0, count));
    const uint32_t pixel = 0xff000000u | colour;
    const auto put = [&](int x, int y) { reinterpret_cast<uint32_t *>(bits + y * bytesPerLine)[x] = pixel; };
    int lastDir = NoDirection;
    for (int i = 0; i < count; ++i) {
        forEachPixel(lines[i], lastDir, put);
    }
    return {};
}
