#include "ecg/EcgGeometry.h"

#include <algorithm>

EnlargedViewScale enlargedScale(EnlargedView view)
{
    switch (view) {
    case EnlargedView::SixSecond:
        return {3000, 200, 30, 5, 10, 1500, 7, 200, 6};
    case EnlargedView::Large:
        return {1000, 40, 50, 25, 25, 500, 3, 40, 14};
    case EnlargedView::EightSecond:
        break;
    }
    return {4000, 200, 40, 5, 10, 2000, 9, 200, 6};
}

int enlargedEcgHeight(int h, bool hasCprFeedback, bool panelCollapsed)
{
    if (!hasCprFeedback)
        return h;
    return panelCollapsed ? h - 30 : 2 * h / 3;
}

EnlargedGeometry enlargedGeometry(int w, int h, EnlargedView view, bool hasCprFeedback, bool panelCollapsed)
{
    EnlargedGeometry g;
    g.w = w;
    g.h = h;
    g.scale = enlargedScale(view);
    g.E = enlargedEcgHeight(h, hasCprFeedback, panelCollapsed);
    g.X = w - 70;
    g.H = g.E - 100;
    g.R = (g.H - 12) / g.scale.rows;
    g.p = double(g.X) / g.scale.cells;
    return g;
}

QSize enlargedStripSize(int w, int h)
{
    return {std::max(1, 3 * (w - 70)), std::max(1, h - 100)};
}

QSize enlargedPanelSize(int w, int h)
{
    return {std::max(1, w), std::max(1, h / 3 - 5)};
}

QRect enlargedHitRect(int w, int h)
{
    return QRect(QPoint(40, 41), QPoint(w - 30 - 1, h - 75 - 1));
}

int32_t enlargedTimeAt(int x, EnlargedView view, int32_t centreMs, int X)
{
    const EnlargedViewScale s = enlargedScale(view);
    const int32_t windowStart = centreMs - s.halfMs;
    if (X <= 0)
        return windowStart;
    return int32_t(int64_t(x - 40) * s.spanMs() / X + windowStart);
}

QRect foldButtonRect(int h)
{
    return QRect(70, 2 * h / 3 + 10, 30, 20);
}

QRect unfoldButtonRect(int h)
{
    return QRect(70, h - 23, 30, 20);
}

QRect optionsButtonRect()
{
    return QRect(41, 42, 30, 23);
}

QRect EntireGeometry::rowRect(int row) const
{
    const int top = rowTop(row);
    return QRect(50, top, 30 * v, D);
}

QRectF EntireGeometry::labelRect(int row, int j) const
{
    return QRectF(26 + 15 * v * j, (row + 1) * (u + 20), 48, 20);
}

EntireGeometry entireGeometry(int w, int h)
{
    EntireGeometry g;
    g.w = w;
    g.h = h;
    g.v = std::max(0, (w - 100) / 30);
    g.u = double((h - 50) / 5 - 20);
    g.D = int(g.u);
    g.d = int(g.u / 5);
    return g;
}

int entireRowAt(const EntireGeometry &g, QPoint point)
{
    for (int row = 0; row < EntireGeometry::Rows; ++row)
        if (g.rowRect(row).contains(point))
            return row;
    return -1;
}

int32_t entireTimeAt(int x, int v, int32_t rowStartMs)
{
    if (v <= 0)
        return rowStartMs;
    return int32_t((1000LL * x - 50000) / v + rowStartMs);
}

std::array<int32_t, 5> entireRowStarts(int32_t centreMs)
{
    std::array<int32_t, 5> starts{};
    for (int k = 0; k < 5; ++k)
        starts[size_t(k)] = centreMs - 75000 + 30000 * k;
    return starts;
}
