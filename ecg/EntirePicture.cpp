#include "ecg/EntirePicture.h"

#include "case/CaseRecord.h"
#include "ecg/BandedPaint.h"
#include "ecg/EcgStyle.h"
#include "ecg/EventMarkers.h"
#include "ecg/IntervalShading.h"
#include "ecg/ThinLines.h"
#include "ecg/TimeGrid.h"
#include "ecg/TraceRenderers.h"

#include <QPainter>

#include <algorithm>
#include <climits>

namespace {

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

void EntireBuffers::resize(int w, int h)
{
    picture = QImage(std::max(1, w), std::max(1, h), QImage::Format_RGB32);
    picture.fill(EcgStyle::background());
    drawnPlan.reset();
    drawnRows.clear();
}

EntirePlan entirePlan(const EntireScene &scene, QSize size)
{
    const EntireGeometry g = entireGeometry(size.width(), size.height());
    EntirePlan plan;
    plan.size = size;
    plan.gridText = scene.gridText;
    plan.labels = scene.labels;
    const CaseRecord *c = scene.shown.record;
    if (!c)
        return plan;
    const auto shade = [&](int32_t a, int32_t b, bool wholeSeconds, std::vector<QRect> &out) {
        for (int row = 0; row < EntireGeometry::Rows; ++row) {
            const size_t k = size_t(row);
            if (auto rect = entireShadeRect(a, b, scene.rowStartMs[k], scene.rowEndMs[k], row, g, wholeSeconds))
                out.push_back(*rect);
        }
    };
    if (scene.showCprPeriods) {
        c->cprPeriods.forEachUsed([&](int, const CprPeriod &p) { shade(p.startMs, p.endMs, false, plan.cprShades); });
        if (scene.handsOff)
            plan.pauseShades = entirePauseShades(*scene.handsOff, scene.rowStartMs, scene.rowEndMs, g);
    }
    c->segments.forEachUsed([&](int, const EcgSegment &s) { shade(s.startMs, s.endMs, true, plan.segmentShades); });
    plan.latestEventMs = INT32_MIN;
    c->events.forEachUsed([&](int, const EventItem &e) {
        plan.latestEventMs = std::max(plan.latestEventMs, e.timeMs);
        if (const auto place = entireMarkerPlace(e.timeMs, scene.rowStartMs, scene.rowEndMs, g.v))
            plan.markers.push_back(*place);
    });
    return plan;
}

namespace {

void drawPlanned(QImage &picture, const EntirePlan &plan, const uint8_t *rows)
{
    const EntireGeometry g = entireGeometry(picture.width(), picture.height());
    // Filled before the painter begins: the engine would hand a fill of the whole picture
    // to its thread pool and wait for it.
    picture.fill(EcgStyle::background());
    // Taken before the painter begins, so that the painter draws into this memory too.
    uchar *const bits = picture.bits();
    QPainter painter(&picture);
    EcgStyle::prepare(painter);

    painter.setPen(EcgStyle::text());
    painter.setFont(EcgStyle::textFont());
    const int textFlags = Qt::AlignRight | Qt::AlignTop;
    painter.drawText(QRectF(0, 0, g.w - 35, 20), textFlags, plan.gridText);
    for (int row = 0; row < EntireGeometry::Rows; ++row)
        for (int j = 0; j < 3; ++j)
            painter.drawText(g.labelRect(row, j), textFlags, plan.labels[size_t(3 * row + j)]);

    // Beneath the grid and the trace: CPR periods, the pauses' causes over them, then segments.
    // A CPR period lies on the bare paper, so its colour is put down opaque as it would blend.
    static const QColor cprOnPaper = [] {
        const QColor shade = EcgStyle::cprShade(), paper = EcgStyle::background();
        const auto blend = [&](int s, int p) { return (s * shade.alpha() + p * (255 - shade.alpha()) + 127) / 255; };
        return QColor(blend(shade.red(), paper.red()), blend(shade.green(), paper.green()),
                      blend(shade.blue(), paper.blue()));
    }();
    for (const QRect &rect : plan.cprShades)
        BandedPaint::fillRect(painter, rect, cprOnPaper);
    paintPauseShades(painter, plan.pauseShades);
    for (const QRect &rect : plan.segmentShades)
        BandedPaint::fillRect(painter, rect, EcgStyle::segmentShade());

    drawGrid(painter, g);

    painter.setPen(EcgStyle::centreLinePen(false));
    const int markerX = 50 + 15 * g.v;
    painter.drawLine(QLineF(markerX, g.rowTop(2), markerX, g.traceBottom(2)));

    if (rows) {
        const std::vector<QLineF> lines = entireLines(rows, g);
        // Over the grid and beneath the markers. The trace's pixels are written straight into
        // the picture, the same the painter sets for them; a trace reaching past the picture
        // is left to the painter.
        const QPen pen = EcgStyle::entireTracePen();
        const std::vector<QLineF> rest = writesThinLines(pen)
            ? drawThinLines(bits, picture.bytesPerLine(), picture.size(), pen.color().rgb(), lines.data(),
                            int(lines.size()))
            : lines;
        painter.setPen(pen);
        painter.drawLines(rest.data(), int(rest.size()));
    }

    for (const auto &[row, x] : plan.markers) {
        const QLineF line(x, g.rowTop(row), x, g.traceBottom(row));
        painter.setPen(EcgStyle::markerUnderPen());
        painter.drawLine(line);
        painter.setPen(EcgStyle::markerPen());
        painter.drawLine(line);
    }
}

} // namespace

int32_t drawEntirePicture(QImage &picture, const EntireScene &scene, int32_t latestEventMs)
{
    const EntirePlan plan = entirePlan(scene, picture.size());
    drawPlanned(picture, plan, scene.rows);
    return std::max(latestEventMs, plan.latestEventMs);
}

int32_t drawEntirePicture(EntireBuffers &buffers, const EntireScene &scene, int32_t latestEventMs)
{
    EntirePlan plan = entirePlan(scene, buffers.picture.size());
    const size_t rowBytes = size_t(EntireGeometry::Rows) * EntireGeometry::SamplesPerRow;
    const bool sameRows = scene.rows ? buffers.drawnRows.size() == rowBytes
                                           && std::equal(scene.rows, scene.rows + rowBytes, buffers.drawnRows.begin())
                                     : buffers.drawnRows.empty();
    const int32_t latest = std::max(latestEventMs, plan.latestEventMs);
    if (sameRows && buffers.drawnPlan == plan)
        return latest;
    drawPlanned(buffers.picture, plan, scene.rows);
    buffers.drawnRows.assign(scene.rows, scene.rows ? scene.rows + rowBytes : scene.rows);
    buffers.drawnPlan = std::move(plan);
    return latest;
}
