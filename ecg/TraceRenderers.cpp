#include "ecg/TraceRenderers.h"

#include <algorithm>
#include <cmath>

ColumnSamples columnSamples(const uint8_t *samples, int count, double from, double step)
{
    int begin = int(from);
    int end = std::min(int(from + step), count);
    if (end <= begin)
        end = begin + 1;
    if (begin < 0 || begin >= count)
        return {};
    end = std::min(end, count);
    int hi = 0;
    int lo = 255;
    for (int i = begin; i < end; ++i) {
        if (samples[i] == 0)
            continue; // not covered: neither a minimum nor a maximum
        hi = std::max<int>(hi, samples[i]);
        lo = std::min<int>(lo, samples[i]);
    }
    if (hi == 0)
        return {};
    return {hi, lo};
}

QLineF columnLine(double x, double yLow, double yHigh)
{
    if (yLow - yHigh >= 1)
        return {x, yLow, x, yHigh};
    const double middle = (yLow + yHigh) / 2;
    return {x, middle + 0.5, x, middle - 0.5};
}

std::vector<QLineF> envelopeLines(const uint8_t *samples, int count, int x0, double p, int cells, int R, int H)
{
    std::vector<QLineF> lines;
    const double columns = p * cells;
    if (columns <= 0 || count <= 0)
        return lines;
    const double step = count / columns;
    const double scale = 10.0 * R / 250.0;
    const int bottom = 10 * R + 6;
    lines.reserve(size_t(2 * columns) + 2);

    double f = 0;
    int prevMax = 0;
    int prevMin = 0;
    bool prevCovered = false;
    for (int n = 0; n < columns; ++n) {
        const ColumnSamples c = columnSamples(samples, count, f, step);
        f += step;
        const int smax = int(c.maxValue * scale);
        const int smin = int(c.minValue * scale);
        const bool pinned = smax >= H - 10 && smin >= H - 10;
        if (c.covered() && !pinned) {
            const int x = x0 + n;
            lines.push_back(columnLine(x, bottom - smin, bottom - smax));
            if (n > 0 && prevCovered) {
                if (smin < prevMax)
                    lines.emplace_back(x - 1, bottom - prevMin, x, bottom - smax);
                else
                    lines.emplace_back(x - 1, bottom - prevMax, x, bottom - smin);
            }
        }
        prevMax = smax;
        prevMin = smin;
        prevCovered = c.covered();
    }
    return lines;
}

std::vector<QLineF> pairLines(const uint8_t *samples, int count, int x0, double p, int cells, int R, int H)
{
    std::vector<QLineF> lines;
    const double columns = p * cells;
    if (columns <= 0 || count < 2)
        return lines;
    const double step = count / columns;
    const double scale = R / 10.0;
    const double bottom = 25.0 * R + 6;
    const double last = count - 1;
    // The line ending at x0 + n covers the pixel column x0 + n - 1: one line more than
    // whole columns reaches the window's last pixel column.
    const int lastLine = int(std::ceil(columns));
    lines.reserve(size_t(lastLine) + 1);

    double q = 1.0;
    for (int n = 1; n <= lastLine; ++n) {
        const int a = samples[int(q - 1)];
        const int b = samples[int(q)];
        if (a != 0 && b != 0 && (int(a * scale) < H - 10 || int(b * scale) < H - 10))
            lines.emplace_back(x0 + n - 1, bottom - a * scale, x0 + n, bottom - b * scale);
        q += step;
        if (q > last)
            q = last;
    }
    return lines;
}

std::vector<QLineF> entireLines(const uint8_t *rows, const EntireGeometry &g)
{
    std::vector<QLineF> lines;
    const int columns = g.rowWidth();
    if (columns <= 0)
        return lines;
    const int perRow = EntireGeometry::SamplesPerRow;
    const double step = double(perRow) / columns;
    const double scale = 5.0 * g.d / 255.0;
    lines.reserve(size_t(2 * columns * EntireGeometry::Rows));

    int prevMax = 0;
    int prevMin = 0;
    for (int row = 0; row < EntireGeometry::Rows; ++row) {
        const uint8_t *samples = rows + size_t(row) * perRow;
        const double yb = g.traceBottom(row);
        double f = 0;
        for (int n = 0; n < columns; ++n) {
            const ColumnSamples c = columnSamples(samples, perRow, f, step);
            f += step;
            const int hi = c.maxValue;
            const int lo = c.minValue;
            if (c.covered()) {
                const double x = 50 + n;
                const double xPrev = n == 0 ? 50 : x - 1;
                lines.push_back(columnLine(x, yb - lo * scale, yb - hi * scale));
                // prevMax is 0 after a column without samples: nothing to join to.
                if (prevMax != 0 && lo < prevMax && prevMin >= hi)
                    lines.emplace_back(xPrev, yb - prevMin * scale, x, yb - hi * scale);
                else if (prevMax != 0 && lo >= prevMax)
                    lines.emplace_back(xPrev, yb - prevMax * scale, x, yb - lo * scale);
            }
            prevMax = hi;
            prevMin = lo;
        }
    }
    return lines;
}
