#pragma once

#include "case/CprFeedbackRecord.h"
#include "ecg/EcgGeometry.h"

#include <QRectF>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

class QPainter;

// The CPR feedback panel under the enlarged ECG: compression depths as bars hanging from
// a top line, with dashed guide lines at depths 50 and 60 (65 depth units span 200 - R
// pixels). Panel coordinates; R is the row height of the view in force.
namespace CprPanel {

// y of the top line and of the two guide lines: R + o, then + (200 - R) * 50 / 65 and
// * 60 / 65, integer arithmetic (o = 6, or 14 in the large view).
std::array<int, 3> lineYs(int R, int o);

// Bar of a compression at t of depth d for the window starting at windowStart, 250 ms wide.
QRectF barRect(int32_t t, int32_t depth, int32_t windowStart, const EnlargedGeometry &g);

// Indexes of the records drawn for the window [windowStart, windowEnd]: the walk stops
// after the first record past the window end, which is still drawn; records before the
// window start are skipped.
std::vector<int> barsToDraw(const std::vector<CprFeedbackRecord> &records, int32_t count, int32_t windowStart,
                            int32_t windowEnd);

// The unit of the depth scale (inches), written above its numbers in depthUnitRect.
inline const QString DepthUnit = QStringLiteral("in");
QRectF depthUnitRect(const EnlargedGeometry &g);

// Background, the caption title ("CPR"), the lines and their labels, into a panel of width w
// whose shown height is h - E.
void drawFrame(QPainter &painter, const EnlargedGeometry &g, const QString &title = QStringLiteral("CPR"));
// The compression bars of the visible window.
void drawBars(QPainter &painter, const EnlargedGeometry &g, const std::vector<CprFeedbackRecord> &records,
              int32_t count, int32_t windowStart, int32_t windowEnd);

} // namespace CprPanel
