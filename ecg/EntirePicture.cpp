#include "ecg/EntirePicture.h"

#include "case/CaseRecord.h"
#include "ecg/EcgStyle.h"
#include "ecg/EventMarkers.h"
#include "ecg/IntervalShading.h"
#include "ecg/TimeGrid.h"
#include "ecg/TraceRenderers.h"

#include <QPainter>

namespace {

void shade(QPainter &painter, const EntireScene &scene, const EntireGeometry &g, int32_t a, int32_t b,
           bool wholeSeconds, const QColor &colour)
{
    for (int row = 0; row < EntireGeometry::Rows; ++row) {
        const size_t k = size_t(row);
        if (auto rect = entireShadeRect(a, b, scene.rowStartMs[k], scene.rowEndMs[k], row, g, wholeSeconds))
            painter.fillRect(*rect, colour);
    }
}

void drawGrid(QPainter &painter, const EntireGeometry &g)
{
    painter.setPen(EcgStyle::entireGridPen());
    const int right = 50 + g.rowWidth();
    for (int row = 0; row < EntireGeometry::Rows; ++row) {
        const int top = g.rowTop(row);
        for (int i = 0; i <= 5; ++i)
            painter.drawLine(QLineF(50, top + i * g.d, right, top + i * g.d));
        for (int l = 0; l <= 30; ++l) {
            const int x = 50 + l * g.v;
            const int extra = (l == 0 || l == 15 || l == 30) ? 3 : 0;
            painter.drawLine(QLineF(x, top, x, top + 5 * g.d + extra));
        }
    }
}

} // namespace

std::array<QString, 15> entireLabels(const CaseRecord *c, int32_t centreMs)
{
    std::array<QString, 15> labels;
    const int64_t centre = centreMs / 1000;
    for (int k = 0; k < 5; ++k)
        for (int j = 0; j < 3; ++j)
            labels[size_t(3 * k + j)] = gridTimeLabel(c, centre - 75 + 30 * k + 15 * j);
    return labels;
}

int32_t drawEntirePicture(QImage &picture, const EntireScene &scene, int32_t latestEventMs)
{
    const EntireGeometry g = entireGeometry(picture.width(), picture.height());
    QPainter painter(&picture);
    EcgStyle::prepare(painter);
    painter.fillRect(picture.rect(), EcgStyle::background());

    painter.setPen(EcgStyle::text());
    painter.setFont(EcgStyle::textFont());
    const int textFlags = Qt::AlignRight | Qt::AlignTop;
    painter.drawText(QRectF(0, 0, g.w - 35, 20), textFlags, scene.gridText);
    for (int row = 0; row < EntireGeometry::Rows; ++row)
        for (int j = 0; j < 3; ++j)
            painter.drawText(g.labelRect(row, j), textFlags, scene.labels[size_t(3 * row + j)]);

    const CaseRecord *c = scene.shown.record;
    if (c && scene.showCprPeriods)
        c->cprPeriods.forEachUsed([&](int, const CprPeriod &p) {
            shade(painter, scene, g, p.startMs, p.endMs, false, EcgStyle::cprShade());
        });
    if (c)
        c->segments.forEachUsed([&](int, const EcgSegment &s) {
            shade(painter, scene, g, s.startMs, s.endMs, true, EcgStyle::segmentShade());
        });

    drawGrid(painter, g);

    painter.setPen(EcgStyle::centreLinePen(false));
    const int markerX = 50 + 15 * g.v;
    painter.drawLine(QLineF(markerX, g.rowTop(2), markerX, g.traceBottom(2)));

    if (scene.rows) {
        const std::vector<QLineF> lines = entireLines(scene.rows, g);
        painter.setPen(EcgStyle::entireTracePen());
        painter.drawLines(lines.data(), int(lines.size()));
    }

    if (c) {
        c->events.forEachUsed([&](int, const EventItem &e) {
            latestEventMs = std::max(latestEventMs, e.timeMs);
            const auto place = entireMarkerPlace(e.timeMs, scene.rowStartMs, scene.rowEndMs, g.v);
            if (!place)
                return;
            const QLineF line(place->second, g.rowTop(place->first), place->second, g.traceBottom(place->first));
            painter.setPen(EcgStyle::markerUnderPen());
            painter.drawLine(line);
            painter.setPen(EcgStyle::markerPen());
            painter.drawLine(line);
        });
    }
    return latestEventMs;
}
