#include "ecg/EnlargedPicture.h"

#include "case/CaseRecord.h"
#include "ecg/CprPanel.h"
#include "ecg/EcgStyle.h"
#include "ecg/EventMarkers.h"
#include "ecg/IntervalShading.h"
#include "ecg/TimeGrid.h"
#include "ecg/TraceRenderers.h"

#include <QPainter>

namespace {

constexpr int GridLeft = 40; // picture x of the strip's visible part
constexpr int GridTop = 35;  // picture y of the strip

struct Run
{
    const EnlargedScene &scene;
    const EnlargedGeometry &g;
    int32_t lo;         // visible window
    int32_t hi;
    int32_t rangeStart; // strip range, three windows wide
    int32_t rangeEnd;
};

void drawTitles(QPainter &picture, const Run &r)
{
    const bool large = r.scene.view == EnlargedView::Large;
    picture.setPen(EcgStyle::text());
    picture.setFont(EcgStyle::textFont());
    const QRectF gridTextRect = large ? QRectF(r.g.X - 260, 10, 270, 20) : QRectF(r.g.X - 220, 10, 260, 20);
    picture.drawText(gridTextRect, Qt::AlignRight | Qt::AlignBottom, r.scene.gridText);
    picture.setFont(EcgStyle::titleFont());
    const QRectF titleRect = large ? QRectF(30, 10, 120, 20) : QRectF(40, 10, 120, 20);
    picture.drawText(titleRect, Qt::AlignLeft | Qt::AlignBottom, r.scene.title);
}

void shadeIntervals(QPainter &strip, const Run &r)
{
    const CaseRecord &c = *r.scene.shown.record;
    if (r.scene.showCprPeriods) {
        const bool snap = shadeSnapsToCell(r.scene.view, true);
        c.cprPeriods.forEachUsed([&](int, const CprPeriod &period) {
            if (!cprPeriodShaded(r.scene.view, period.startMs, period.endMs))
                return;
            if (auto rect = enlargedShadeRect(period.startMs, period.endMs, r.lo, r.hi, r.g, snap))
                strip.fillRect(*rect, EcgStyle::cprShade());
        });
    }
}

void shadeSegments(QPainter &strip, const Run &r)
{
    const bool snap = shadeSnapsToCell(r.scene.view, false);
    r.scene.shown.record->segments.forEachUsed([&](int, const EcgSegment &s) {
        if (auto rect = enlargedShadeRect(s.startMs, s.endMs, r.lo, r.hi, r.g, snap))
            strip.fillRect(*rect, EcgStyle::segmentShade());
    });
}

void drawHorizontalGrid(QPainter &strip, const Run &r)
{
    const EnlargedView view = r.scene.view;
    const int rows = r.g.scale.rows;
    const double x1 = r.g.X + int(r.g.gridWidth());
    for (int k = 0; k <= rows; ++k) {
        qreal width = 1;
        if (view == EnlargedView::Large)
            width = (k == 0 || k == rows) ? 2 : (k % 5 == 0 ? 3 : 1);
        strip.setPen(EcgStyle::gridPen(view, width));
        const double y = k * r.g.R + 6;
        strip.drawLine(QLineF(r.g.X, y, x1, y));
    }
}

void drawVerticalGrid(QPainter &strip, QPainter &picture, const Run &r)
{
    const EnlargedView view = r.scene.view;
    const bool large = view == EnlargedView::Large;
    const QPen fine = EcgStyle::gridPen(view, 1);
    const QPen heavy = EcgStyle::gridPen(view, 3);
    picture.setPen(EcgStyle::text());
    picture.setFont(EcgStyle::textFont());
    for (const VerticalGridLine &line : verticalGridLines(r.scene.centreMs, r.g.scale, r.g.X, r.g.p)) {
        switch (line.kind) {
        case VerticalGridLine::Kind::Fine:
        case VerticalGridLine::Kind::Fifth:
            strip.setPen(line.kind == VerticalGridLine::Kind::Fifth ? heavy : fine);
            strip.drawLine(QLineF(line.x, 6, line.x, r.g.gridBottom()));
            break;
        case VerticalGridLine::Kind::Second:
            strip.setPen(large ? heavy : fine);
            strip.drawLine(QLineF(line.x, 0, line.x, r.g.H));
            if (line.labelled)
                picture.drawText(gridLabelRect(line.x, r.g.X, r.g.H), Qt::AlignLeft | Qt::AlignBottom,
                                 gridTimeLabel(r.scene.shown.record, line.labelSeconds));
            break;
        }
    }
}

void drawCentreLine(QPainter &strip, QPainter &picture, const Run &r)
{
    const ShownCase &shown = r.scene.shown;
    const bool red = r.scene.playing && shown.shown() && shown.audioCovers(r.scene.centreMs);
    strip.setPen(EcgStyle::centreLinePen(red));
    const int x = r.g.centreX();
    strip.drawLine(QLineF(x, 6, x, r.g.gridBottom()));

    if (r.scene.view == EnlargedView::Large) {
        picture.setPen(EcgStyle::gridPen(r.scene.view, 2));
        picture.drawLine(QLineF(30, 41, 40, 41));
        const double middle = 25 * r.g.R / 2 + 41;
        picture.drawLine(QLineF(30, middle, 40, middle));
    } else {
        picture.setPen(EcgStyle::gridPen(r.scene.view, 1));
        picture.drawLine(QLineF(34, 41, 40, 41));
        const double middle = 5 * r.g.R + 41;
        picture.drawLine(QLineF(34, middle, 40, middle));
    }
}

void drawTrace(QPainter &strip, const Run &r)
{
    if (!r.scene.samples)
        return;
    const EnlargedViewScale &s = r.g.scale;
    const std::vector<QLineF> lines =
        r.scene.view == EnlargedView::Large
            ? pairLines(r.scene.samples, s.sampleCount, r.g.X, r.g.p, s.cells, r.g.R, r.g.H)
            : envelopeLines(r.scene.samples, s.sampleCount, r.g.X, r.g.p, s.cells, r.g.R, r.g.H);
    strip.setPen(EcgStyle::tracePen(r.scene.view));
    strip.drawLines(lines.data(), int(lines.size()));
}

void drawMarkerLine(QPainter &strip, int x, int bottom)
{
    const QLineF line(x, 6, x, bottom + 1);
    strip.setPen(EcgStyle::markerUnderPen());
    strip.drawLine(line);
    strip.setPen(EcgStyle::markerPen());
    strip.drawLine(line);
}

void drawMarkers(QPainter &strip, const Run &r)
{
    const CaseRecord &c = *r.scene.shown.record;
    const int bottom = r.g.gridBottom();
    const int textFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;
    strip.setFont(EcgStyle::textFont());

    int visit = 0;
    for (int i : eventVisitOrder(c.events, r.scene.view)) {
        const int row = eventLabelRow(visit++);
        const EventItem &e = c.events[i];
        const std::optional<int> x = enlargedMarkerX(e.timeMs, r.rangeStart, r.rangeEnd, r.g);
        if (!x)
            continue;
        drawMarkerLine(strip, *x, bottom);
        if (r.scene.showEventText) {
            strip.setPen(EcgStyle::eventText());
            strip.drawText(QRectF(*x + 8, row * r.g.R + 7, 399, 25), textFlags, e.text);
        }
    }

    if (!r.scene.shown.hasTemperature)
        return;
    const int textRow = r.scene.view == EnlargedView::Large ? 24 : 9;
    const int n = std::min<int64_t>({c.tempCount, int64_t(c.tempTimes.size()), int64_t(c.tempValues.size())});
    for (int i = 0; i < n; ++i) {
        const std::optional<int> x = enlargedMarkerX(c.tempTimes[size_t(i)], r.rangeStart, r.rangeEnd, r.g);
        if (!x)
            continue;
        drawMarkerLine(strip, *x, bottom);
        strip.setPen(EcgStyle::eventText());
        strip.drawText(QRectF(*x + 8, textRow * r.g.R + 7, 399, 25), textFlags,
                       QStringLiteral("TEMP : %1\u2103").arg(c.tempValues[size_t(i)]));
    }
}

} // namespace

void EnlargedBuffers::resize(int w, int h)
{
    w = std::max(1, w);
    h = std::max(1, h);
    picture = QImage(w, h, QImage::Format_RGB32);
    picture.fill(EcgStyle::background());
    const QSize stripSize = enlargedStripSize(w, h);
    for (QImage &strip : strips) {
        strip = QImage(stripSize, QImage::Format_RGB32);
        strip.fill(EcgStyle::background());
    }
    panel = QImage(enlargedPanelSize(w, h), QImage::Format_RGB32);
    panel.fill(EcgStyle::background());
}

EnlargedGeometry drawEnlargedPicture(EnlargedBuffers &buffers, const EnlargedScene &scene)
{
    const int w = buffers.picture.width();
    const int h = buffers.picture.height();
    const ShownCase &shown = scene.shown;
    const EnlargedGeometry g = enlargedGeometry(w, h, scene.view, shown.hasCprFeedback, scene.cprPanelCollapsed);
    const int32_t half = g.scale.halfMs;
    const Run r{scene, g, scene.centreMs - half, scene.centreMs + half, scene.centreMs - 3 * half,
                scene.centreMs + 3 * half};

    QImage &stripImage = buffers.strips[size_t(scene.view)];
    QPainter picture(&buffers.picture);
    QPainter strip(&stripImage);
    QPainter panel(&buffers.panel);
    for (QPainter *painter : {&picture, &strip, &panel})
        EcgStyle::prepare(*painter);

    picture.fillRect(QRect(0, 0, w, h), EcgStyle::background());
    strip.fillRect(QRect(0, 0, 3 * g.X, g.H), EcgStyle::background());
    drawTitles(picture, r);

    if (shown.shown()) {
        shadeIntervals(strip, r);
        if (shown.hasCprFeedback)
            CprPanel::drawFrame(panel, g);
        shadeSegments(strip, r);
    }
    drawHorizontalGrid(strip, r);
    if (shown.shown())
        drawVerticalGrid(strip, picture, r);
    if (shown.hasCprFeedback)
        CprPanel::drawBars(panel, g, shown.record->cprFeedback, shown.record->cprFeedbackCount, r.lo, r.hi);
    drawCentreLine(strip, picture, r);
    drawTrace(strip, r);
    if (shown.shown())
        drawMarkers(strip, r);

    strip.end();
    panel.end();
    // Copies are clipped to the buffers: the panel buffer is a few pixels shorter than
    // the area under an unfolded panel, whose bottom then stays white.
    const int copyWidth = int(g.gridWidth()) + 2;
    const QRect shownStrip = QRect(g.X, 0, copyWidth, g.H) & stripImage.rect();
    if (!shownStrip.isEmpty())
        picture.drawImage(QPoint(GridLeft, GridTop), stripImage, shownStrip);
    const QRect shownPanel = QRect(0, 0, w, h - g.E) & buffers.panel.rect();
    if (shown.hasCprFeedback && !shownPanel.isEmpty())
        picture.drawImage(QPoint(0, g.E), buffers.panel, shownPanel);
    return g;
}
