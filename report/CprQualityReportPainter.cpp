#include "report/CprQualityReportPainter.h"

#include "report/PdfDocument.h"

#include "report/CprChart.h"
#include "report/HandsOffBar.h"

#include <QBuffer>
#include <QFont>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

namespace CprReportLayout {

namespace {
constexpr double PauseTitleHeight = 50;
constexpr double PauseHeaderHeight = 40;
constexpr double ColumnGap = 60;
} // namespace

int pausesPerColumnOnFirstPage()
{
    return int((DefinitionsTop - 20 - PausesTop - PauseTitleHeight - PauseHeaderHeight) / PauseRowHeight);
}

int pausesPerColumnOnLaterPages()
{
    return int((FooterTop - 20 - ContinuedTop - PauseTitleHeight - PauseHeaderHeight) / PauseRowHeight);
}

int pageCount(int pauseCount)
{
    const int first = PauseColumns * pausesPerColumnOnFirstPage();
    const int later = PauseColumns * pausesPerColumnOnLaterPages();
    const int rest = std::max(0, pauseCount - first);
    return 1 + (rest + later - 1) / later;
}

int firstPauseOnPage(int page)
{
    if (page <= 1)
        return 0;
    return PauseColumns * (pausesPerColumnOnFirstPage() + (page - 2) * pausesPerColumnOnLaterPages());
}

int pausesOnPage(int page, int pauseCount)
{
    const int capacity = PauseColumns * (page <= 1 ? pausesPerColumnOnFirstPage() : pausesPerColumnOnLaterPages());
    return std::clamp(pauseCount - firstPauseOnPage(page), 0, capacity);
}

QRectF pauseRow(int page, int indexOnPage)
{
    const int perColumn = page <= 1 ? pausesPerColumnOnFirstPage() : pausesPerColumnOnLaterPages();
    const double top = (page <= 1 ? PausesTop : ContinuedTop) + PauseTitleHeight + PauseHeaderHeight;
    const double columnWidth = (Width - ColumnGap * (PauseColumns - 1)) / PauseColumns;
    const int column = indexOnPage / perColumn;
    const int row = indexOnPage % perColumn;
    return QRectF(column * (columnWidth + ColumnGap), top + row * PauseRowHeight, columnWidth, PauseRowHeight);
}

int handsOffPage(int pauseCount)
{
    return pageCount(pauseCount) + 1;
}

QRectF legendEntry(double barTop, int index)
{
    constexpr double BarHeight = 60;
    const double width = Width / LegendColumns;
    return QRectF((index % LegendColumns) * width, barTop + BarHeight + 20 + (index / LegendColumns) * LegendRowHeight,
                  width, LegendRowHeight);
}

Placement placement(double width, double height)
{
    Placement p;
    p.scale = std::min(width / (Width + 2 * Margin), height / (Height + 2 * Margin));
    p.left = (width - Width * p.scale) / 2;
    p.top = Margin * p.scale;
    return p;
}

bool printPages(QPagedPaintDevice &device, int fromPage, int toPage, int pageCount,
                const std::function<void(QPainter &, int)> &paint)
{
    const int first = fromPage > 0 ? fromPage : 1;
    const int last = toPage > 0 ? std::min(toPage, pageCount) : pageCount;
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    for (int page = first; page <= last; ++page) {
        if (page > first)
            device.newPage();
        const Placement place = placement(device.width(), device.height());
        QTransform mapping;
        mapping.translate(place.left, place.top);
        mapping.scale(place.scale, place.scale);
        painter.setTransform(mapping);
        paint(painter, page);
    }
    return painter.end();
}

} // namespace CprReportLayout

namespace {

using namespace CprReportLayout;

constexpr double TextHeight = 26;        // tenths of a millimetre: about 7.4 points
constexpr double SmallTextHeight = 22;
constexpr double TitleHeight = 60;

QFont font(double height, bool bold, bool italic = false)
{
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(int(std::lround(height)));
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

// Text in a cell, vertically centred, a little in from its left edge.
void cell(QPainter &painter, double left, double top, double width, double height, const QString &text,
          Qt::Alignment align = Qt::AlignLeft)
{
    painter.drawText(QRectF(left + 8, top, width - 16, height), int(align | Qt::AlignVCenter), text);
}

QColor statusColour(CprTargetStatus status)
{
    switch (status) {
    case CprTargetStatus::Met: return CprChart::inBandColour();
    case CprTargetStatus::NotMet: return QColor(200, 30, 30);
    case CprTargetStatus::None: break;
    }
    return Qt::black;
}

// The pause list's four columns within a line: start, length, kind, parts.
struct PauseColumnsX
{
    double start, length, kind, parts, end;
};
PauseColumnsX pauseColumns(const QRectF &row)
{
    return {row.left(), row.left() + row.width() * 0.1, row.left() + row.width() * 0.2,
            row.left() + row.width() * 0.34, row.right()};
}

} // namespace

CprQualityReportPainter::CprQualityReportPainter(const CprQualityReport &report) : m_report(report) {}

int CprQualityReportPainter::pageCount() const
{
    return m_report.hasFeedback ? CprReportLayout::handsOffPage(int(m_report.pauses.size())) : 1;
}

void CprQualityReportPainter::paintPage(QPainter &painter, int page) const
{
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setPen(Qt::black);
    if (page <= 1) {
        paintHeader(painter);
        if (m_report.hasFeedback) {
            paintSummary(painter);
            paintCharts(painter);
            paintDefinitions(painter);
        } else {
            painter.setFont(font(TextHeight * 1.2, false));
            painter.drawText(QRectF(0, SummaryTop, Width, 200), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop,
                             m_report.noFeedback);
        }
    }
    if (m_report.hasFeedback && page == handsOffPage(int(m_report.pauses.size())))
        paintHandsOff(painter);
    else if (m_report.hasFeedback)
        paintPauses(painter, page);
    paintFooter(painter, page);
    painter.restore();
}

void CprQualityReportPainter::paintHeader(QPainter &painter) const
{
    painter.setFont(font(TitleHeight, true));
    painter.drawText(QRectF(0, 0, Width, 80), Qt::AlignLeft | Qt::AlignVCenter, m_report.title);
    painter.setFont(font(TextHeight, false));
    painter.drawText(QRectF(0, 85, Width, 45), Qt::AlignLeft | Qt::AlignVCenter, m_report.caseLine);
    painter.drawText(QRectF(0, 85, Width, 45), Qt::AlignRight | Qt::AlignVCenter, m_report.settingsLine);
    painter.setPen(QPen(Qt::black, 3));
    painter.drawLine(QPointF(0, 135), QPointF(Width, 135));
    painter.setPen(Qt::black);
}

void CprQualityReportPainter::paintSummary(QPainter &painter) const
{
    // Measure, value, target, result.
    const double x[] = {0, 760, 1110, 1500, Width};
    const auto line = [&](double top, const QString &a, const QString &b, const QString &c, const QString &d) {
        cell(painter, x[0], top, x[1] - x[0], RowHeight, a);
        cell(painter, x[1], top, x[2] - x[1], RowHeight, b);
        cell(painter, x[2], top, x[3] - x[2], RowHeight, c);
        cell(painter, x[3], top, x[4] - x[3], RowHeight, d);
    };
    painter.setFont(font(TextHeight, true));
    painter.fillRect(QRectF(0, SummaryTop, Width, RowHeight), QColor(225, 225, 225));
    line(SummaryTop, m_report.measureHeader, m_report.valueHeader, m_report.targetHeader, m_report.resultHeader);

    double top = SummaryTop + RowHeight;
    for (const CprSummaryRow &row : m_report.summary) {
        painter.setFont(font(TextHeight, false));
        painter.setPen(Qt::black);
        line(top, row.measure, row.value, row.target, QString());
        if (row.judged) {
            painter.setFont(font(TextHeight, true));
            painter.setPen(statusColour(row.status));
            cell(painter, x[3], top, x[4] - x[3], RowHeight, row.result);
        }
        painter.setPen(QPen(QColor(200, 200, 200), 1));
        painter.drawLine(QPointF(0, top + RowHeight), QPointF(Width, top + RowHeight));
        top += RowHeight;
    }
    painter.setPen(Qt::black);
}

void CprQualityReportPainter::paintCharts(QPainter &painter) const
{
    const std::vector<CprChartSeries> charts = cprQualityCharts(m_report);
    const double gap = 40;
    const double width = (Width - 2 * gap) / 3;
    for (int i = 0; i < 3; ++i)
        CprChart::paint(painter, QRectF(i * (width + gap), ChartsTop, width, ChartHeight), charts[size_t(i)], SmallTextHeight);
}

void CprQualityReportPainter::paintPauses(QPainter &painter, int page) const
{
    const int count = int(m_report.pauses.size());
    const int first = firstPauseOnPage(page);
    const int onPage = pausesOnPage(page, count);
    if (page > 1 && onPage == 0)
        return;
    const double titleTop = page <= 1 ? PausesTop : ContinuedTop;
    painter.setPen(Qt::black);
    painter.setFont(font(TextHeight * 1.15, true));
    painter.drawText(QRectF(0, titleTop, Width, PauseTitleHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     page <= 1 ? m_report.pausesTitle : m_report.pausesContinued);
    if (count == 0) {
        painter.setFont(font(TextHeight, false));
        painter.drawText(QRectF(0, titleTop + PauseTitleHeight, Width, PauseHeaderHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, m_report.noPauses);
        return;
    }

    const int perColumn = page <= 1 ? pausesPerColumnOnFirstPage() : pausesPerColumnOnLaterPages();
    const int columns = (onPage + perColumn - 1) / perColumn;
    painter.setFont(font(TextHeight, true));
    for (int c = 0; c < columns; ++c) {
        const QRectF row = pauseRow(page, c * perColumn).translated(0, -PauseHeaderHeight);
        const PauseColumnsX x = pauseColumns(row);
        painter.fillRect(QRectF(row.left(), row.top(), row.width(), PauseHeaderHeight), QColor(225, 225, 225));
        cell(painter, x.start, row.top(), x.length - x.start, PauseHeaderHeight, m_report.startHeader);
        cell(painter, x.length, row.top(), x.kind - x.length, PauseHeaderHeight, m_report.lengthHeader);
        cell(painter, x.kind, row.top(), x.parts - x.kind, PauseHeaderHeight, m_report.kindHeader);
        cell(painter, x.parts, row.top(), x.end - x.parts, PauseHeaderHeight, m_report.partsHeader);
    }
    painter.setFont(font(TextHeight, false));
    for (int i = 0; i < onPage; ++i) {
        const CprPauseRow &p = m_report.pauses[size_t(first + i)];
        const QRectF row = pauseRow(page, i);
        const PauseColumnsX x = pauseColumns(row);
        cell(painter, x.start, row.top(), x.length - x.start, row.height(), p.start);
        cell(painter, x.length, row.top(), x.kind - x.length, row.height(), p.length);
        cell(painter, x.kind, row.top(), x.parts - x.kind, row.height(), p.kind);
        painter.setFont(font(SmallTextHeight, false, p.setByReviewer));
        const QString parts = painter.fontMetrics().elidedText(p.parts, Qt::ElideRight, int(x.end - x.parts - 16));
        cell(painter, x.parts, row.top(), x.end - x.parts, row.height(), parts);
        painter.setFont(font(TextHeight, false));
    }
}

void CprQualityReportPainter::paintHandsOff(QPainter &painter) const
{
    painter.setPen(Qt::black);
    painter.setFont(font(TextHeight * 1.15, true));
    painter.drawText(QRectF(0, 0, Width, 50), Qt::AlignLeft | Qt::AlignVCenter, m_report.handsOffTitle);
    painter.setFont(font(TextHeight, false));
    painter.drawText(QRectF(0, 0, Width, 50), Qt::AlignRight | Qt::AlignVCenter, m_report.handsOffTotal);

    constexpr double BarTop = 60;
    HandsOffBar::paint(painter, QRectF(0, BarTop, Width, 60), m_report.byCause);
    double top = BarTop + 80;
    for (int i = 0; i < int(m_report.byCause.size()); ++i) {
        const HandsOffCauseRow &c = m_report.byCause[size_t(i)];
        const QRectF entry = legendEntry(BarTop, i);
        HandsOffBar::paintSwatch(painter, QRectF(entry.left(), entry.center().y() - 13, 26, 26), c);
        painter.setPen(Qt::black);
        painter.drawText(entry.adjusted(36, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, c.name + QStringLiteral("  ") + c.amount);
        top = entry.bottom();
    }

    top += 40;
    painter.setFont(font(TextHeight * 1.15, true));
    painter.drawText(QRectF(0, top, Width, 50), Qt::AlignLeft | Qt::AlignVCenter, m_report.beforeCprTitle);
    top += 50;
    painter.setFont(font(TextHeight, false));
    for (const HandsOffTimeRow &t : m_report.beforeCpr) {
        cell(painter, 0, top, 500, RowHeight, t.label);
        cell(painter, 500, top, 300, RowHeight, t.time);
        top += RowHeight;
    }
    paintShocks(painter, top + 40);
}

double CprQualityReportPainter::paintShocks(QPainter &painter, double top) const
{
    painter.setPen(Qt::black);
    painter.setFont(font(TextHeight * 1.15, true));
    painter.drawText(QRectF(0, top, Width, 50), Qt::AlignLeft | Qt::AlignVCenter, m_report.shocksTitle);
    top += 50;
    painter.setFont(font(TextHeight, false));
    if (m_report.shocks.empty()) {
        painter.drawText(QRectF(0, top, Width, RowHeight), Qt::AlignLeft | Qt::AlignVCenter, m_report.noShocks);
        return top + RowHeight;
    }
    const int columns = int(m_report.shockHeaders.size());
    const double width = Width / columns;
    const auto line = [&](const QStringList &cells) {
        for (int i = 0; i < columns && i < int(cells.size()); ++i)
            cell(painter, i * width, top, width, RowHeight, cells[i]);
    };
    painter.setFont(font(TextHeight, true));
    painter.fillRect(QRectF(0, top, Width, RowHeight), QColor(225, 225, 225));
    line(m_report.shockHeaders);
    top += RowHeight;
    painter.setFont(font(TextHeight, false, true));
    line(m_report.shockTargets.cells());
    top += RowHeight;
    for (const HandsOffShockRow &s : m_report.shocks) {
        if (top + RowHeight > FooterTop - 20)
            break;
        painter.setFont(font(TextHeight, false));
        painter.setPen(Qt::black);
        line(s.cells());
        const CprTargetStatus judged[] = {s.preShock, s.postShock, s.periShock};
        for (int i = 0; i < 3; ++i) {
            if (judged[i] != CprTargetStatus::NotMet)
                continue;
            // Over the limit: the value again in bold red over a light red cell.
            const QRectF over(double(4 + i) * width, top, width, RowHeight);
            painter.fillRect(over.adjusted(2, 2, -2, -2), QColor(250, 220, 220));
            painter.setFont(font(TextHeight, true));
            painter.setPen(statusColour(CprTargetStatus::NotMet));
            cell(painter, over.left(), top, width, RowHeight, s.cells()[4 + i]);
        }
        painter.setPen(QPen(QColor(200, 200, 200), 1));
        painter.drawLine(QPointF(0, top + RowHeight), QPointF(Width, top + RowHeight));
        top += RowHeight;
    }
    painter.setPen(Qt::black);
    return top;
}

void CprQualityReportPainter::paintDefinitions(QPainter &painter) const
{
    const QRectF box(0, DefinitionsTop, Width, FooterTop - 20 - DefinitionsTop);
    painter.setPen(QPen(Qt::black, 2));
    painter.setBrush(QColor(248, 248, 248));
    painter.drawRect(box);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(Qt::black);

    const QRectF inner = box.adjusted(20, 10, -20, -10);
    painter.setFont(font(TextHeight, true));
    painter.drawText(QRectF(inner.left(), inner.top(), inner.width(), 40), Qt::AlignLeft | Qt::AlignVCenter,
                     m_report.definitionsTitle);
    painter.setFont(font(SmallTextHeight, false));
    double top = inner.top() + 45;
    for (const QString &d : m_report.definitions) {
        const QRectF area(inner.left(), top, inner.width(), inner.bottom() - top);
        const QRectF used = painter.boundingRect(area, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, d);
        painter.drawText(area, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, d);
        top += used.height() + 8;
    }
}

void CprQualityReportPainter::paintFooter(QPainter &painter, int page) const
{
    painter.setPen(Qt::black);
    painter.setFont(font(SmallTextHeight, false));
    painter.drawText(QRectF(0, FooterTop, Width, Height - FooterTop), Qt::AlignRight | Qt::AlignVCenter,
                     m_report.pageFormat.arg(page).arg(pageCount()));
    painter.drawText(QRectF(0, FooterTop, Width, Height - FooterTop), Qt::AlignLeft | Qt::AlignVCenter,
                     m_report.title + QStringLiteral("    ") + m_report.caseLine);
}

bool CprQualityReportPainter::print(QPagedPaintDevice &device, int fromPage, int toPage) const
{
    return printPages(device, fromPage, toPage, pageCount(),
                      [this](QPainter &painter, int page) { paintPage(painter, page); });
}

QByteArray CprQualityReportPainter::pdf(const CprQualityReport &report, const QPageLayout &layout, int fromPage, int toPage)
{
    return PdfDocument::make(layout, report.title, [&](QPagedPaintDevice &device) {
        return CprQualityReportPainter(report).print(device, fromPage, toPage);
    });
}

QByteArray CprQualityReportPainter::pdf(const CprQualityReport &report)
{
    return pdf(report, PdfDocument::a4Portrait());
}
