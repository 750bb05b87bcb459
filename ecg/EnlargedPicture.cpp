#include "ecg/EnlargedPicture.h"

#include "case/CaseRecord.h"
#include "ecg/BandedPaint.h"
#include "ecg/CprPanel.h"
#include "ecg/EcgStyle.h"
#include "ecg/EventMarkers.h"
#include "ecg/IntervalShading.h"
#include "ecg/TextStamps.h"
#include "ecg/TimeGrid.h"
#include "ecg/TraceRenderers.h"
#include "ecg/UprightLines.h"

#include <QPainter>
#include <QRegion>

#include <algorithm>

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

// Picture memory that the painter draws into too, for pixels written straight into it.
struct PictureMemory
{
    uchar *bits;
    qsizetype bytesPerLine;
    QRect clip;   // the painter's clip, on the picture
    QPoint shift; // the painter's translation
};

// Texts over the background around the ECG area, from the buffers' stamps, for the
// picture's painter before it is clipped or moved.
struct BackgroundTexts
{
    TextStamps &stamps;
    uchar *bits; // the picture's memory
    qsizetype bytesPerLine;
    QSize size;

    void draw(QPainter &picture, const QRectF &rect, int flags, const QString &text) const
    {
        stamps.draw(picture, bits, bytesPerLine, size, EcgStyle::background(), rect, flags, text);
    }
};

void drawTitles(QPainter &picture, const BackgroundTexts &texts, const Run &r)
{
    const bool large = r.scene.view == EnlargedView::Large;
    picture.setPen(EcgStyle::text());
    picture.setFont(EcgStyle::textFont());
    const QRectF gridTextRect = large ? QRectF(r.g.X - 260, 10, 270, 20) : QRectF(r.g.X - 220, 10, 260, 20);
    texts.draw(picture, gridTextRect, Qt::AlignRight | Qt::AlignBottom, r.scene.gridText);
    picture.setFont(EcgStyle::titleFont());
    const QRectF titleRect = large ? QRectF(30, 10, 120, 20) : QRectF(40, 10, 120, 20);
    texts.draw(picture, titleRect, Qt::AlignLeft | Qt::AlignBottom, r.scene.title);
}

// The shaded rectangles of the strip in drawing order: CPR periods (when shown), then
// segments; true marks a CPR period.
std::vector<std::pair<QRectF, bool>> shadeRects(const Run &r)
{
    std::vector<std::pair<QRectF, bool>> out;
    const CaseRecord &c = *r.scene.shown.record;
    if (r.scene.showCprPeriods) {
        const bool snap = shadeSnapsToCell(r.scene.view, true);
        c.cprPeriods.forEachUsed([&](int, const CprPeriod &period) {
            if (!cprPeriodShaded(r.scene.view, period.startMs, period.endMs))
                return;
            if (auto rect = enlargedShadeRect(period.startMs, period.endMs, r.lo, r.hi, r.g, snap))
                out.emplace_back(*rect, true);
        });
    }
    const bool snap = shadeSnapsToCell(r.scene.view, false);
    c.segments.forEachUsed([&](int, const EcgSegment &segment) {
        if (auto rect = enlargedShadeRect(segment.startMs, segment.endMs, r.lo, r.hi, r.g, snap))
            out.emplace_back(*rect, false);
    });
    return out;
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

void drawVerticalGrid(QPainter &strip, const Run &r, const std::vector<VerticalGridLine> &lines)
{
    const EnlargedView view = r.scene.view;
    const bool large = view == EnlargedView::Large;
    const QPen fine = EcgStyle::gridPen(view, 1);
    const QPen heavy = EcgStyle::gridPen(view, 3);
    for (const VerticalGridLine &line : lines) {
        switch (line.kind) {
        case VerticalGridLine::Kind::Fine:
        case VerticalGridLine::Kind::Fifth:
            strip.setPen(line.kind == VerticalGridLine::Kind::Fifth ? heavy : fine);
            BandedPaint::drawLine(strip, QLineF(line.x, 6, line.x, r.g.gridBottom()));
            break;
        case VerticalGridLine::Kind::Second:
            strip.setPen(large ? heavy : fine);
            BandedPaint::drawLine(strip, QLineF(line.x, 0, line.x, r.g.H));
            break;
        }
    }
}

void drawGridLabels(QPainter &picture, const BackgroundTexts &texts, const Run &r,
                    const std::vector<VerticalGridLine> &lines)
{
    picture.setPen(EcgStyle::text());
    picture.setFont(EcgStyle::textFont());
    for (const VerticalGridLine &line : lines)
        if (line.kind == VerticalGridLine::Kind::Second && line.labelled)
            texts.draw(picture, gridLabelRect(line.x, r.g.X, r.g.H), Qt::AlignLeft | Qt::AlignBottom,
                       gridTimeLabel(r.scene.shown.record, line.labelSeconds));
}

void drawCentreLine(QPainter &strip, const Run &r)
{
    const ShownCase &shown = r.scene.shown;
    const bool red = r.scene.playing && shown.shown() && shown.audioCovers(r.scene.centreMs);
    strip.setPen(EcgStyle::centreLinePen(red));
    const int x = r.g.centreX();
    BandedPaint::drawLine(strip, QLineF(x, 6, x, r.g.gridBottom()));
}

// The ticks left of the grid at the centre line's top and middle.
void drawCentreTicks(QPainter &picture, const Run &r)
{
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

// The upright lines of the trace and the joins between whole pixels go straight into the
// picture, the others through the painter.
void drawTrace(QPainter &strip, const PictureMemory &memory, LineStamps &stamps, const Run &r)
{
    if (!r.scene.samples)
        return;
    const EnlargedViewScale &s = r.g.scale;
    const std::vector<QLineF> lines =
        r.scene.view == EnlargedView::Large
            ? pairLines(r.scene.samples, s.sampleCount, r.g.X, r.g.p, s.cells, r.g.R, r.g.H)
            : envelopeLines(r.scene.samples, s.sampleCount, r.g.X, r.g.p, s.cells, r.g.R, r.g.H);
    const QPen pen = EcgStyle::tracePen(r.scene.view);
    const std::vector<QLineF> slanted = drawUprightLines(memory.bits, memory.bytesPerLine, memory.clip, memory.shift,
                                                         pen, lines.data(), int(lines.size()));
    const std::vector<QLineF> rest = stamps.draw(memory.bits, memory.bytesPerLine, memory.clip, memory.shift, pen,
                                                 slanted.data(), int(slanted.size()));
    strip.setPen(pen);
    BandedPaint::drawLines(strip, rest.data(), int(rest.size()));
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

// The grid layer of a run over shownStrip (strip coordinates), which the picture shows at
// shownStrip + stripOrigin: copied from the buffers' layers when one has the same key, else
// drawn straight into the picture (background, shading, horizontal and vertical grid) and
// kept. bits is the picture's memory, for the copy while the painter is active.
void drawGridLayer(EnlargedBuffers &buffers, QPainter &picture, uchar *bits, const Run &r, const QRect &shownStrip,
                   QPoint stripOrigin, const std::vector<VerticalGridLine> &lines)
{
    EnlargedLayerKey key;
    key.size = buffers.picture.size();
    key.view = r.scene.view;
    key.E = r.g.E;
    key.shown = r.scene.shown.shown();
    if (key.shown)
        key.shades = shadeRects(r);
    if (key.shown && r.scene.showCprPeriods && r.scene.handsOff)
        key.pauseShades = enlargedPauseShades(*r.scene.handsOff, r.lo, r.hi, r.g);
    buffers.shownPauseShades.clear();
    for (const PausePartShade &shade : key.pauseShades) {
        PausePartShade shown = shade;
        shown.rect = shade.rect.translated(stripOrigin) & QRectF(shownStrip.translated(stripOrigin));
        if (!shown.rect.isEmpty())
            buffers.shownPauseShades.push_back(shown);
    }
    key.lines.reserve(lines.size());
    for (const VerticalGridLine &line : lines)
        key.lines.emplace_back(line.x, int(line.kind));

    const QRect area = shownStrip.translated(stripOrigin) & buffers.picture.rect();
    auto &layers = buffers.layers;
    const auto kept = std::find_if(layers.begin(), layers.end(), [&](const auto &l) { return l.key == key; });
    if (kept != layers.end()) {
        std::rotate(layers.begin(), kept, kept + 1);
        layers.front().rows.copyInto(bits, buffers.picture.bytesPerLine(), buffers.picture.size(), area.topLeft());
        return;
    }

    picture.save();
    picture.setClipRect(area);
    picture.translate(stripOrigin);
    picture.fillRect(shownStrip, EcgStyle::background());
    // CPR periods, the pauses' causes over them, then segments.
    for (const auto &[rect, cprPeriod] : key.shades)
        if (cprPeriod)
            BandedPaint::fillRect(picture, rect, EcgStyle::cprShade());
    paintPauseShades(picture, key.pauseShades);
    for (const auto &[rect, cprPeriod] : key.shades)
        if (!cprPeriod)
            BandedPaint::fillRect(picture, rect, EcgStyle::segmentShade());
    drawHorizontalGrid(picture, r);
    drawVerticalGrid(picture, r, lines);
    picture.restore();

    // Layers of another view wait for nothing: the view changes only when the reviewer picks one.
    std::erase_if(layers, [&](const auto &l) { return l.key.view != key.view; });
    if (layers.size() >= EnlargedBuffers::MaxLayers)
        layers.pop_back();
    layers.insert(layers.begin(), EnlargedBuffers::Layer{std::move(key), RowRunImage::capture(buffers.picture, area)});
}

// The CPR panel's frame over panelArea, copied from the buffers when kept for the same
// geometry, else drawn and kept. The painter is clipped to panelArea and translated to it.
void drawPanelFrame(EnlargedBuffers &buffers, QPainter &picture, uchar *bits, const EnlargedGeometry &g,
                    const QRect &panelArea, const EnlargedScene &scene)
{
    const std::array<int, 11> key{panelArea.x(), panelArea.y(), panelArea.width(), panelArea.height(), g.w, g.h,
                                  g.E, g.R, g.scale.markerOffset, int(scene.depthUnit), scene.decimalPoint.unicode()};
    EnlargedBuffers::PanelFrame &kept = buffers.panelFrame;
    if (kept.key == key && kept.rows.size() == panelArea.size()) {
        kept.rows.copyInto(bits, buffers.picture.bytesPerLine(), buffers.picture.size(), panelArea.topLeft());
        return;
    }
    CprPanel::drawFrame(picture, g, scene.depthUnit, scene.decimalPoint, scene.cprPanelTitle);
    kept.key = key;
    kept.rows = RowRunImage::capture(buffers.picture, panelArea);
}

} // namespace

void EnlargedBuffers::resize(int w, int h)
{
    w = std::max(1, w);
    h = std::max(1, h);
    picture = QImage(w, h, QImage::Format_RGB32);
    picture.fill(EcgStyle::background());
    layers.clear();
    panelFrame = PanelFrame();
}

EnlargedGeometry drawEnlargedPicture(EnlargedBuffers &buffers, const EnlargedScene &scene)
{
    const int w = buffers.picture.width();
    const int h = buffers.picture.height();
    const ShownCase &shown = scene.shown;
    buffers.shownPauseShades.clear();
    const EnlargedGeometry g = enlargedGeometry(w, h, scene.view, shown.hasCprFeedback, scene.cprPanelCollapsed);
    const int32_t half = g.scale.halfMs;
    const Run r{scene, g, scene.centreMs - half, scene.centreMs + half, scene.centreMs - 3 * half,
                scene.centreMs + 3 * half};
    const std::vector<VerticalGridLine> lines =
        shown.shown() ? verticalGridLines(scene.centreMs, g.scale, g.X, g.p) : std::vector<VerticalGridLine>();

    // The ECG area: the strip of three windows' width, of which the picture shows the
    // middle window at (GridLeft, GridTop). Only that part is drawn, straight into the
    // picture: the grid layer first, then what moves over it. Markers just left of the
    // window are drawn too, as their texts reach into it.
    const int copyWidth = int(g.gridWidth()) + 2;
    const QRect shownStrip = QRect(g.X, 0, copyWidth, g.H) & QRect(QPoint(0, 0), enlargedStripSize(w, h));
    const QPoint stripOrigin(GridLeft - g.X, GridTop);
    // The CPR panel is drawn last, over a part of the picture the size of its area
    // (enlargedPanelSize), which is a few pixels shorter than the area under an unfolded
    // panel, whose bottom then stays white.
    const QRect panelArea = shown.hasCprFeedback
        ? (QRect(0, 0, w, h - g.E) & QRect(QPoint(0, 0), enlargedPanelSize(w, h))).translated(0, g.E)
        : QRect();

    // Taken before the painter begins, so that the painter draws into this memory too.
    uchar *const bits = buffers.picture.bits();
    QPainter picture(&buffers.picture);
    EcgStyle::prepare(picture);

    // The grid layer and the panel cover their areas whole: the background goes elsewhere.
    const QRegion blank = QRegion(0, 0, w, h) - QRegion(shownStrip.translated(stripOrigin)) - QRegion(panelArea);
    for (const QRect &rect : blank)
        picture.fillRect(rect, EcgStyle::background());
    const BackgroundTexts texts{buffers.textStamps, bits, buffers.picture.bytesPerLine(), buffers.picture.size()};
    drawTitles(picture, texts, r);
    drawGridLabels(picture, texts, r, lines);
    drawCentreTicks(picture, r);

    if (!shownStrip.isEmpty()) {
        drawGridLayer(buffers, picture, bits, r, shownStrip, stripOrigin, lines);
        picture.save();
        picture.setClipRect(shownStrip.translated(stripOrigin));
        picture.translate(stripOrigin);
        drawCentreLine(picture, r);
        const PictureMemory memory{bits, buffers.picture.bytesPerLine(),
                                   shownStrip.translated(stripOrigin) & buffers.picture.rect(), stripOrigin};
        drawTrace(picture, memory, buffers.traceStamps, r);
        if (shown.shown())
            drawMarkers(picture, r);
        picture.restore();
    }

    if (!panelArea.isEmpty()) {
        picture.setClipRect(panelArea);
        picture.translate(panelArea.topLeft());
        drawPanelFrame(buffers, picture, bits, g, panelArea, r.scene);
        CprPanel::drawBars(picture, g, shown.record->cprFeedback, shown.record->cprFeedbackCount, r.lo, r.hi);
    }
    return g;
}
