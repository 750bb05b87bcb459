#include "ecg/TraceRenderers.h"

#include <algorithm>

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
        hi = std::max<int>(hi, samples[i]);
        lo = std::min<int>(lo, samples[i]);
    }
    return {hi, lo};
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
    for (int n = 0; n < columns; ++n) {
        const ColumnSamples c = columnSamples(samples, count, f, step);
        f += step;
        const int smax = int(c.maxValue * scale);
        const int smin = int(c.minValue * scale);
        const bool blank = smax == 0 && smin == 0;
        const bool pinned = smax >= H - 10 && smin >= H - 10;
        if (!blank && !pinned) {
            const int x = x0 + n;
            lines.emplace_back(x, bottom - smin, x, bottom - smax);
            if (n > 0) {
                if (smin < prevMax)
                    lines.emplace_back(x - 1, bottom - prevMin, x, bottom - smax);
                else
                    lines.emplace_back(x - 1, bottom - prevMax, x, bottom - smin);
            }
        }
        prevMax = smax;
        prevMin = smin;
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
    lines.reserve(size_t(columns) + 1);

    double q = 1.0;
    for (int n = 1; n < columns; ++n) {
        const int a = samples[int(q - 1)];
        const int b = samples[int(q)];
        if ((a != 0 || b != 0) && (int(a * scale) < H - 10 || int(b * scale) < H - 10))
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
            if (hi != 0 || lo != 0) {
                const double x = 50 + n;
                const double xPrev = n == 0 ? 50 : x - 1;
                lines.emplace_back(x, yb - lo * scale, x, yb - hi * scale);
                if (lo < prevMax && prevMin >= hi)
                    lines.emplace_back(xPrev, yb - prevMin * scale, x, yb - hi * scale);
                else if (lo >= prevMax)
                    lines.emplace_back(xPrev, yb - prevMax * scale, x, yb - lo * scale);
            }
            prevMax = hi;
            prevMin = lo;
        }
    }
    return lines;
}
