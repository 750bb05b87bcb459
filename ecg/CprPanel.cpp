#include "ecg/CprPanel.h"

#include "cpr/CprQuality.h"
#include "cpr/CprSummary.h"
#include "ecg/BandedPaint.h"
#include "ecg/EcgStyle.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

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

std::vector<DepthMark> depthScale(CprDepthUnit unit, QChar decimalPoint, int R, int o)
{
    const std::array<int, 3> ys = lineYs(R, o);
    if (unit == CprDepthUnit::Inches) {
        const QString point(decimalPoint);
        return {{ys[0], QStringLiteral("0") + point + QStringLiteral("0")},
                {ys[1], QStringLiteral("2") + point + QStringLiteral("0")},
                {ys[2], QStringLiteral("2") + point + QStringLiteral("4")}};
    }
    // A depth unit is 1/25 inch; the panel shows 65 of them.
    constexpr double UnitsPerCm = 25.0 / 2.54;
    std::vector<DepthMark> marks;
    for (int cm = 0; cm * UnitsPerCm <= 65.0; cm += 2)
        marks.push_back({ys[0] + int(std::lround(cm * UnitsPerCm * (200 - R) / 65.0)), QString::number(cm)});
    return marks;
}

QRectF depthUnitRect(const EnlargedGeometry &g)
{
    return QRectF(15, lineYs(g.R, g.scale.markerOffset)[0] - 32, 20, 16);
}

void drawFrame(QPainter &painter, const EnlargedGeometry &g, CprDepthUnit unit, QChar decimalPoint, const QString &title)
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

    painter.setPen(EcgStyle::panel());
    for (const DepthMark &mark : depthScale(unit, decimalPoint, g.R, g.scale.markerOffset))
        painter.drawText(QRectF(15, mark.y - 16, 20, 20), Qt::AlignLeft | Qt::AlignBottom, mark.label);
    // The depth scale's unit heads its column of numbers.
    painter.drawText(depthUnitRect(g), Qt::AlignLeft | Qt::AlignBottom, CprSummary::unitName(unit));
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
