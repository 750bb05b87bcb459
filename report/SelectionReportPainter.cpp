#include "report/SelectionReportPainter.h"

#include "report/PdfDocument.h"

#include "ecg/EcgSampleWindow.h"
#include "ecg/EcgStyle.h"
#include "ecg/EventMarkers.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPolygonF>
#include <algorithm>
#include <array>

namespace {

using namespace SelectionReportLayout;

constexpr int SamplesPerStrip = 2500;     // 10 s at 250 samples per second
constexpr int SurfaceWidth = 16000;
constexpr int SurfaceHeight = 1920;
constexpr int GridTop = -160;
constexpr int GridBottom = -1760;
constexpr int GridStep = 160;             // 0.2 s across, one row down
constexpr int TickLeft = 3840;            // frame ticks left of the grid
constexpr int LabelBandTop = -4495;
constexpr int LabelBandBottom = -4695;
constexpr int LabelHalfWidth = 400;

QPen solidPen(QColor colour, int widthTwips)
{
    QPen pen(colour, widthTwips, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    return pen;
}

QPen gridPen() { return solidPen(QColor(100, 100, 100), 1); }
QPen framePen() { return solidPen(Qt::black, 6); }
QPen tracePen() { return solidPen(Qt::black, 4); }

QPen markerPen()
{
    // Dashes of 60 twips with 40 between (in pen widths), so that they read as dashes.
    QPen pen = solidPen(Qt::black, 2);
    pen.setDashPattern({30, 20});
    return pen;
}

// Text in the twips rectangle (x1, y1)-(x2, y2) (y upward), on one line. The painter's
// y axis points up, so the text is drawn in a locally flipped frame to stay upright.
void drawText(QPainter &painter, int x1, int y1, int x2, int y2, int alignment, const QString &text)
{
    painter.save();
    painter.scale(1, -1);
    painter.drawText(QRectF(QPointF(x1, -y1), QPointF(x2, -y2)), alignment | Qt::TextSingleLine, text);
    painter.restore();
}

void drawLine(QPainter &painter, int x1, int y1, int x2, int y2)
{
    painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

} // namespace

SelectionReportTexts SelectionReportTexts::forLanguage(uint8_t language)
{
    if (language == 2)
        return {QStringLiteral("Rapporto di selezione Lumeron DAE\n"), QStringLiteral("pagina %d di %d"),
                QStringLiteral("Registrato da Software analisi eventi Lumeron DAE"),
                QStringLiteral("< Intervallo di tempo : --- secondo >"),
                QStringLiteral("< Intervallo di tempo : %02d secondo >"), QStringLiteral("derivazione II     ECG x1.0 ")};
    return {QStringLiteral("Lumeron AED Selection Report\n"), QStringLiteral("page %d of %d"),
            QStringLiteral("recorded by Lumeron AED Event review software"), QStringLiteral("< Time Gap : --- sec >"),
            QStringLiteral("< Time Gap : %02d sec >"), QStringLiteral("Lead II     ECG x1.0 ")};
}

namespace SelectionReportLayout {

Placement placement(double widthTwips, double heightTwips)
{
    const double fullWidth = LayoutRight + LayoutMargin;
    const double fullHeight = LayoutBottom + LayoutMargin;
    if (widthTwips >= LayoutRight && heightTwips >= LayoutBottom)
        return {1.0, std::max(0.0, (widthTwips - fullWidth) / 2)};
    const double scale = std::min(widthTwips / fullWidth, heightTwips / fullHeight);
    if (!(scale > 0))
        return {};
    return {scale, std::max(0.0, (widthTwips - fullWidth * scale) / 2)};
}

int traceX(int m)
{
    return SurfaceWindowX + 32 * (m + 1) / 10;
}

double traceY(uint8_t sample)
{
    return 6.4 * sample + GridBottom;
}

std::optional<int> markerX(int32_t t, const PrintPiece &piece)
{
    const int64_t from = int64_t(piece.startMs) - 5000;
    if (t < from || t > int64_t(piece.endMs) + 5000)
        return std::nullopt;
    return int((t - from) * 160 / 200);
}

std::vector<PausePartShade> pauseShades(const HandsOffResult &handsOff, const PrintPiece &piece)
{
    std::vector<PausePartShade> out;
    const auto x = [&](int64_t t) { return SurfaceWindowX + double(t - piece.startMs) * 8000 / SelectionPrint::PieceMs; };
    for (const HandsOffPause &pause : handsOff.pauses)
        for (const PausePart &part : pause.parts) {
            const int64_t a = std::max<int64_t>(part.startMs, piece.startMs);
            const int64_t b = std::min<int64_t>(int64_t(part.startMs) + part.lengthMs, piece.endMs);
            if (b > a)
                out.push_back({QRectF(QPointF(x(a), GridBottom), QPointF(x(b), GridTop)), part.cause,
                               pause.setByReviewer, part.lengthMs});
        }
    return out;
}

int labelOffset(int visitIndex)
{
    static constexpr std::array<int, 6> Offsets{320, 1440, 480, 1280, 640, 1120};
    return Offsets[size_t(visitIndex) % Offsets.size()];
}

QString headerStartText(const CaseRecord &c)
{
    if (!c.startTimeValid)
        return QStringLiteral("????.??.??   ??:??:??");
    const CTime t = c.startTime;
    return QString::asprintf("%04d.%02d.%02d   %02d:%02d:%02d", t.GetYear(), t.GetMonth(), t.GetDay(), t.GetHour(),
                             t.GetMinute(), t.GetSecond());
}

QString clockLabel(const CaseRecord &c, int64_t seconds)
{
    if (!c.startTimeValid) {
        const CTimeSpan span(seconds);
        return QString::asprintf("%02d:%02d:%02d", span.GetHours(), span.GetMinutes(), span.GetSeconds());
    }
    const CTime t = c.startTime + CTimeSpan(seconds);
    if (t.GetDay() == c.startTime.GetDay())
        return QString::asprintf("%02d:%02d:%02d", t.GetHour(), t.GetMinute(), t.GetSecond());
    return QString::asprintf("%02d/%02d %02d:%02d:%02d", t.GetMonth(), t.GetDay(), t.GetHour(), t.GetMinute(),
                             t.GetSecond());
}

QString gapText(const std::vector<PrintPiece> &pieces, int i, const SelectionReportTexts &texts)
{
    if (i <= 0 || i >= int(pieces.size()))
        return texts.gapUnknown;
    const int64_t gapMs = int64_t(pieces[size_t(i)].startMs) - pieces[size_t(i - 1)].endMs;
    return QString::asprintf(texts.gapFormat.toUtf8().constData(), int(gapMs / 1000));
}

} // namespace SelectionReportLayout

SelectionReportPainter::SelectionReportPainter(const SelectionReport &report)
    : m_report(report), m_texts(SelectionReportTexts::forLanguage(report.language))
{
}

void SelectionReportPainter::setTwipsMapping(QPainter &painter, const QPaintDevice &device)
{
    const double pixelsPerTwipX = device.logicalDpiX() / 1440.0;
    const double pixelsPerTwipY = device.logicalDpiY() / 1440.0;
    const Placement place = placement(device.width() / pixelsPerTwipX, device.height() / pixelsPerTwipY);
    QTransform mapping;
    mapping.translate(place.left * pixelsPerTwipX, 0);
    mapping.scale(pixelsPerTwipX * place.scale, -pixelsPerTwipY * place.scale);
    painter.setTransform(mapping);
}

void SelectionReportPainter::paintPage(QPainter &painter, int page) const
{
    if (!m_report.caseRecord)
        return;
    painter.save();
    EcgStyle::prepare(painter);
    paintHeader(painter);
    const int count = int(m_report.pieces.size());
    for (int strip = 1; strip <= SelectionPrint::StripsPerPage; ++strip) {
        const int piece = pieceIndex(page, strip);
        if (piece < count)
            paintStrip(painter, strip, piece);
    }
    paintFooter(painter, page);
    painter.restore();
}

void SelectionReportPainter::paintHeader(QPainter &painter) const
{
    const CaseRecord &c = *m_report.caseRecord;
    painter.setPen(Qt::black);
    painter.setFont(EcgStyle::font(HeaderFontTwips, true));
    const int left = Qt::AlignLeft | Qt::AlignVCenter;
    drawText(painter, 1000, -1000, 11000, -1425, left, m_texts.title);
    drawText(painter, 1000, -1330, 4000, -1755, left, headerStartText(c));
    drawText(painter, 4000, -1330, 11000, -1755, left,
             c.serialNumber + QStringLiteral("  ") + c.firstName + QStringLiteral(", ") + c.lastName);
}

void SelectionReportPainter::paintFooter(QPainter &painter, int page) const
{
    painter.setPen(Qt::black);
    painter.setFont(EcgStyle::font(LargeFontTwips, false));
    const int centred = Qt::AlignHCenter | Qt::AlignVCenter;
    drawText(painter, 1000, -14000, 11000, -14400, centred,
             QString::asprintf(m_texts.pageFormat.toUtf8().constData(), page, m_report.pageCount));
    drawText(painter, 1000, -14400, 11000, -14800, centred, m_texts.recordedBy);
}

void SelectionReportPainter::paintStrip(QPainter &painter, int strip, int piece) const
{
    const CaseRecord &c = *m_report.caseRecord;
    const PrintPiece &p = m_report.pieces[size_t(piece)];
    const int a = stripOffset(strip);

    painter.setPen(Qt::black);
    painter.setFont(EcgStyle::font(MediumFontTwips, false));
    const int64_t startSeconds = p.startMs / 1000;
    const int64_t endSeconds = p.endMs / 1000;
    const std::array<int64_t, 3> labelSeconds{startSeconds, (startSeconds + endSeconds) / 2, endSeconds};
    const std::array<int, 3> labelCentres{2000, 6000, 10000};
    for (size_t i = 0; i < labelSeconds.size(); ++i)
        drawText(painter, labelCentres[i] - LabelHalfWidth, -a + LabelBandTop, labelCentres[i] + LabelHalfWidth,
                 -a + LabelBandBottom, Qt::AlignHCenter | Qt::AlignVCenter, clockLabel(c, labelSeconds[i]));

    const int left = Qt::AlignLeft | Qt::AlignVCenter;
    painter.setFont(EcgStyle::font(LargeFontTwips, false));
    drawText(painter, 1000, -a - 1850, 11000, -a - 2275, left, gapText(m_report.pieces, piece, m_texts));
    painter.setFont(EcgStyle::font(MediumFontTwips, false));
    drawText(painter, 1000, -a - 2150, 11000, -a - 2575, left, m_texts.lead);

    // The surface's window x 4000..12000, y 0..-1920 is what the page shows of it.
    painter.save();
    painter.setClipRect(QRectF(QPointF(PageStripX, -a + PageStripTop),
                               QPointF(PageStripX + 8000, -a + PageStripTop - SurfaceHeight))
                            .normalized());
    painter.translate(PageStripX - SurfaceWindowX, -a + PageStripTop);
    paintSurface(painter, piece);
    painter.restore();

    painter.setPen(framePen());
    for (int y : {-a - 2735, -a - 3535, -a - 4335})
        drawLine(painter, 1840, y, 2000, y);
}

void SelectionReportPainter::paintSurface(QPainter &painter, int piece) const
{
    const CaseRecord &c = *m_report.caseRecord;
    const PrintPiece &p = m_report.pieces[size_t(piece)];
    const int windowEnd = SurfaceWindowX + 8000;

    painter.fillRect(QRectF(QPointF(0, 0), QPointF(SurfaceWidth, -SurfaceHeight)).normalized(), Qt::white);
    paintPauseShades(painter, pauseShades(m_report.handsOff, p));
    painter.setPen(framePen());
    drawLine(painter, SurfaceWindowX, 0, SurfaceWindowX, -SurfaceHeight);

    for (int i = 1; i <= 50; ++i) {
        const int x = SurfaceWindowX + GridStep * i;
        painter.setPen(gridPen());
        drawLine(painter, x, GridTop, x, GridBottom);
        painter.setPen(framePen());
        if (i % 5 == 0)
            drawLine(painter, x, 0, x, GridTop);
        if (i == 25 || i == 50)
            drawLine(painter, x, GridBottom, x, -SurfaceHeight);
    }

    painter.setPen(framePen());
    drawLine(painter, TickLeft, GridTop, windowEnd, GridTop);
    for (int j = 1; j <= 9; ++j) {
        const int y = GridTop - GridStep * j;
        painter.setPen(gridPen());
        drawLine(painter, SurfaceWindowX, y, windowEnd, y);
        if (j == 5) {
            painter.setPen(framePen());
            drawLine(painter, TickLeft, y, SurfaceWindowX, y);
        }
    }
    painter.setPen(framePen());
    drawLine(painter, TickLeft, GridBottom, windowEnd, GridBottom);

    // Markers and texts that lie wholly outside the window are left out rather than
    // clipped, so that the document holds no text nobody can see.
    const QFont small = EcgStyle::font(SmallFontTwips, false);
    const QFontMetricsF metrics(small);
    painter.setFont(small);
    const std::vector<int> order = eventVisitOrder(c.events, EnlargedView::EightSecond);
    for (size_t i = 0; i < order.size(); ++i) {
        const EventItem &e = c.events[order[i]];
        const std::optional<int> x = markerX(e.timeMs, p);
        if (!x)
            continue;
        if (*x + 2 >= SurfaceWindowX && *x <= windowEnd) {
            painter.setPen(markerPen());
            drawLine(painter, *x, GridTop, *x, GridBottom);
            drawLine(painter, *x + 2, GridTop, *x + 2, GridBottom);
        }
        const int textLeft = *x + 160;
        const double textRight = textLeft + std::min(4000.0, metrics.horizontalAdvance(e.text));
        if (textRight < SurfaceWindowX || textLeft > windowEnd)
            continue;
        const int offset = labelOffset(int(i));
        painter.setPen(Qt::black);
        drawText(painter, textLeft, -offset, textLeft + 4000, -offset - 160, Qt::AlignLeft | Qt::AlignVCenter, e.text);
    }

    std::array<uint8_t, SamplesPerStrip> samples{};
    fillSampleWindow(&c, p.startMs, samples.data(), SamplesPerStrip);
    QPolygonF trace;
    trace.reserve(SamplesPerStrip);
    trace << QPointF(SurfaceWindowX, -1600);
    for (int m = 0; m < SamplesPerStrip - 1; ++m)
        trace << QPointF(traceX(m), traceY(samples[size_t(m)]));
    painter.setPen(tracePen());
    painter.drawPolyline(trace);
}

bool SelectionReportPainter::print(QPagedPaintDevice &device, int fromPage, int toPage) const
{
    const int first = fromPage > 0 ? fromPage : 1;
    const int last = toPage > 0 ? std::min(toPage, m_report.pageCount) : m_report.pageCount;
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    for (int page = first; page <= last; ++page) {
        if (page > first)
            device.newPage();
        setTwipsMapping(painter, device);
        paintPage(painter, page);
    }
    return painter.end();
}

QByteArray SelectionReportPainter::pdf(const SelectionReport &report, const QPageLayout &layout, int fromPage, int toPage)
{
    return PdfDocument::make(layout, SelectionReportTexts::forLanguage(report.language).title.trimmed(), [&](QPagedPaintDevice &device) {
        return SelectionReportPainter(report).print(device, fromPage, toPage);
    });
}

QByteArray SelectionReportPainter::pdf(const SelectionReport &report)
{
    return pdf(report, PdfDocument::a4Portrait());
}
