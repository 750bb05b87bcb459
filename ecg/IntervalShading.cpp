#include "ecg/IntervalShading.h"

#include <algorithm>

namespace {

double pixelOf(int32_t t, int32_t lo, const EnlargedGeometry &g, bool snapToCell)
{
    const int64_t offset = int64_t(t) - lo;
    if (snapToCell)
        return int(double(offset / g.scale.cellMs) * g.p);
    return int(double(offset) * g.p / g.scale.cellMs);
}

} // namespace

std::optional<QRectF> enlargedShadeRect(int32_t a, int32_t b, int32_t lo, int32_t hi, const EnlargedGeometry &g,
                                        bool snapToCell)
{
    if (a > hi)
        return std::nullopt;
    const double x0 = g.X;
    const double top = 6;
    const double height = double(g.scale.rows) * g.R;
    const double full = g.scale.cells * g.p;
    if (lo <= a) {
        const double xa = pixelOf(a, lo, g, snapToCell);
        const double width = b <= hi ? pixelOf(b, lo, g, snapToCell) - xa : full - xa;
        return QRectF(x0 + xa, top, width, height);
    }
    if (b > hi)
        return QRectF(x0, top, full, height);
    if (lo <= b)
        return QRectF(x0, top, pixelOf(b, lo, g, snapToCell), height);
    return std::nullopt;
}

bool cprPeriodShaded(EnlargedView view, int32_t a, int32_t b)
{
    if (view == EnlargedView::EightSecond)
        return true;
    return int64_t(b) - a > 200;
}

std::optional<QRect> entireShadeRect(int32_t a, int32_t b, int32_t rowStart, int32_t rowEnd, int row,
                                     const EntireGeometry &g, bool wholeSeconds)
{
    if (a > rowEnd || b < rowStart)
        return std::nullopt;
    const int64_t left = std::max(a, rowStart) - int64_t(rowStart);
    const int64_t right = std::min(b, rowEnd) - int64_t(rowStart);
    const auto px = [&](int64_t t) { return int(wholeSeconds ? t / 1000 * g.v : t * g.v / 1000); };
    const int x = 50 + px(left);
    return QRect(x, g.rowTop(row), px(right) - px(left), 5 * g.d);
}
