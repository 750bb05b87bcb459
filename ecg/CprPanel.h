#pragma once

#include "case/CprFeedbackRecord.h"
#include "cpr/CprReviewSettings.h"
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

// One number of the depth scale: the y its text stands on and the text.
struct DepthMark
{
    int y = 0;
    QString label;
    bool operator==(const DepthMark &) const = default;
};

// The numbers of the depth scale in the reviewer's unit, top first. In inches they stand
// at the top line and the two guide lines (0.0, 2.0, 2.4); in centimetres at every second
// whole centimetre the panel's 65 depth units (6.6 cm) reach (0, 2, 4, 6), each at its own
// depth, since the guide lines fall on no round centimetre. decimalPoint is the language's.
std::vector<DepthMark> depthScale(CprDepthUnit unit, QChar decimalPoint, int R, int o);

// The unit of the depth scale ("in" or "cm"), written above its numbers in depthUnitRect.
QRectF depthUnitRect(const EnlargedGeometry &g);

// Background, the caption title ("CPR"), the lines and the depth scale in unit, into a panel
// of width w whose shown height is h - E.
void drawFrame(QPainter &painter, const EnlargedGeometry &g, CprDepthUnit unit, QChar decimalPoint,
               const QString &title = QStringLiteral("CPR"));
// The compression bars of the visible window.
void drawBars(QPainter &painter, const EnlargedGeometry &g, const std::vector<CprFeedbackRecord> &records,
              int32_t count, int32_t windowStart, int32_t windowEnd);

} // namespace CprPanel
