#include "ecg/CprPanel.h"

#include "ecg/BandedPaint.h"
#include "ecg/EcgStyle.h"

#include <QPainter>
#include <algorithm>

namespace CprPanel {

std::array<int, 3> lineYs(int R, int o)
{
    const int top = R + o;
    return {top, top + (200 - R) * 50 / 65, top + (200 - R) * 60 / 65};
}

QRectF barRect(int32_t t, int32_t depth, int32_t windowStart, const EnlargedGeometry &g)
{
    const double cell = g.scale.cellMs;
    const double x = 40 + double(int64_t(t) - windowStart) / cell * g.p;
    const double top = g.R + g.scale.markerOffset;
    return QRectF(x, top, g.p * 250 / cell, double(depth) * (200 - g.R) / 65);
}

std::vector<int> barsToDraw(const std::vector<CprFeedbackRecord> &records, int32_t count, int32_t windowStart,
                            int32_t windowEnd)
{
    std::vector<int> out;
    const int n = std::min<int64_t>(count, int64_t(records.size()));
    for (int i = 0; i < n; ++i) {
        if (i > 0 && records[size_t(i - 1)].timeMs > windowEnd)
            break;
        if (records[size_t(i)].timeMs >= windowStart)
            out.push_back(i);
    }
    return out;
}

QRectF depthUnitRect(const EnlargedGeometry &g)
{
    return QRectF(15, lineYs(g.R, g.scale.markerOffset)[0] - 32, 20, 16);
}

void drawFrame(QPainter &painter, const EnlargedGeometry &g, const QString &title)
{
    painter.fillRect(QRect(0, 0, g.w, g.h - g.E), EcgStyle::background());
    painter.setPen(EcgStyle::panel());
    painter.setFont(EcgStyle::titleFont());
    painter.drawText(QRectF(40, 5, 120, 20), Qt::AlignLeft | Qt::AlignBottom, title);

    const std::array<int, 3> ys = lineYs(g.R, g.scale.markerOffset);
    painter.setPen(EcgStyle::panelPen(false));
    painter.drawLine(QLineF(40, ys[0], g.w, ys[0]));
    painter.setPen(EcgStyle::panelPen(true));
    painter.drawLine(QLineF(40, ys[1], g.w, ys[1]));
    painter.drawLine(QLineF(40, ys[2], g.w, ys[2]));

    static const char *const Labels[] = {"0.0", "2.0", "2.4"};
    painter.setPen(EcgStyle::panel());
    for (size_t i = 0; i < ys.size(); ++i)
        painter.drawText(QRectF(15, ys[i] - 16, 20, 20), Qt::AlignLeft | Qt::AlignBottom,
                         QString::fromLatin1(Labels[i]));
    // The depth scale's unit heads its column of numbers.
    painter.drawText(depthUnitRect(g), Qt::AlignLeft | Qt::AlignBottom, DepthUnit);
}

void drawBars(QPainter &painter, const EnlargedGeometry &g, const std::vector<CprFeedbackRecord> &records,
              int32_t count, int32_t windowStart, int32_t windowEnd)
{
    for (int i : barsToDraw(records, count, windowStart, windowEnd)) {
        const CprFeedbackRecord &r = records[size_t(i)];
        BandedPaint::fillRect(painter, barRect(r.timeMs, r.depth, windowStart, g), EcgStyle::panel());
    }
}

} // namespace CprPanel
