#pragma once

#include "ecg/EcgGeometry.h"

#include <QRect>
#include <QRectF>
#include <cstdint>
#include <optional>

// Where CPR periods and ECG segments [a, b] (case ms) are shaded.

// Enlarged views: the band of the strip, from x0 + xa over the grid's rows from y = 6, for
// the window lo .. hi. An edge snaps to the cell on its left (integer division by the
// cell length) unless snapToCell is false (CPR periods in the 8-second view). Nothing
// when the interval lies after the window or ends before it.
std::optional<QRectF> enlargedShadeRect(int32_t a, int32_t b, int32_t lo, int32_t hi, const EnlargedGeometry &g,
                                        bool snapToCell);
// The 6-second and large views leave CPR periods of 200 ms or less unshaded, so a period
// being marked (provisionally 200 or 40 ms long) stays invisible there.
bool cprPeriodShaded(EnlargedView view, int32_t a, int32_t b);
// CPR periods in the 8-second view are placed to the pixel, everything else by cells.
inline bool shadeSnapsToCell(EnlargedView view, bool cprPeriod)
{
    return !(cprPeriod && view == EnlargedView::EightSecond);
}

// Entire ECG: the part of [a, b] inside the row [rowStart, rowEnd], over the row's trace
// area. CPR periods are placed to the pixel (t * v / 1000), segments by whole seconds
// ((t / 1000) * v). Nothing when the interval misses the row.
std::optional<QRect> entireShadeRect(int32_t a, int32_t b, int32_t rowStart, int32_t rowEnd, int row,
                                     const EntireGeometry &g, bool wholeSeconds);
