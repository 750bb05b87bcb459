#include "library/LibraryQaReportPainter.h"

#include "base/LanguagePack.h"
#include "cpr/CprTexts.h"
#include "cpr/HandsOffTexts.h"
#include "library/LibraryQaTexts.h"
#include "library/LibraryText.h"
#include "report/CprQualityReportPainter.h"
#include "report/PdfDocument.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <functional>

namespace {

using Block = LibraryQaReportPainter::Block;

constexpr double Width = CprReportLayout::Width;
constexpr double ContentTop = 190;                           // below the title and the period
constexpr double ContentBottom = CprReportLayout::FooterTop - 20;
constexpr double TextHeight = 26;                            // about 7.4 points
constexpr double SmallTextHeight = 22;
constexpr double HeadingHeight = 34;
constexpr double TitleHeight = 60;
constexpr double RowHeight = 36;
constexpr double ChartGap = 60;

QFont font(double height, bool bold)
{
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(int(std::lround(height)));
    f.setBold(bold);
    return f;
}

const QColor Alert(200, 30, 30);
const QColor Band(190, 215, 240);
const QColor TrendColour(30, 90, 160);

// The blocks of a flow laid out down pages: a block that does not fit starts a new page, and
// a table row that does repeats its table's header there.
class Flow
{
public:
    explicit Flow(std::vector<std::vector<Block>> &pages) : m_pages(pages) { newPage(); }

    void newPage()
    {
        m_pages.emplace_back();
        m_top = ContentTop;
    }
    void gap(double height) { m_top += height; }
    void heading(const QString &text)
    {
        // A heading keeps at least two lines below it on its page.
        if (m_top + 60 + 2 * RowHeight > ContentBottom)
            newPage();
        add({Block::Kind::Heading, QRectF(0, m_top + 10, Width, 50), {text}, {}, false});
    }
    void text(const QString &text, double indent = 0)
    {
        const QFontMetricsF metrics(font(SmallTextHeight, false));
        const QRectF used = metrics.boundingRect(QRectF(0, 0, Width - indent, 10000),
                                                 int(Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop), text);
        const double height = std::ceil(used.height()) + 10;
        if (m_top + height > ContentBottom)
            newPage();
        add({Block::Kind::Text, QRectF(indent, m_top, Width - indent, height), {text}, {}, false});
    }
    void table(const QStringList &headers, const QList<QStringList> &rows, const std::vector<double> &columns,
               const std::vector<bool> &alerts = {})
    {
        const Block header{Block::Kind::TableHeader, QRectF(), headers, columns, false};
        if (m_top + 2 * RowHeight > ContentBottom)
            newPage();
        if (!headers.isEmpty())
            place(header);
        for (qsizetype i = 0; i < rows.size(); ++i) {
            if (m_top + RowHeight > ContentBottom) {
                newPage();
                if (!headers.isEmpty())
                    place(header);
            }
            place({Block::Kind::TableRow, QRectF(), rows[i], columns, std::size_t(i) < alerts.size() && alerts[std::size_t(i)]});
        }
    }

private:
    void place(Block b)
    {
        b.rect = QRectF(0, m_top, Width, RowHeight);
        add(b);
    }
    void add(const Block &b)
    {
        m_pages.back().push_back(b);
        m_top = b.rect.bottom();
    }

    std::vector<std::vector<Block>> &m_pages;
    double m_top = ContentTop;
};

// A chart of a value by month: its frame, axis, the months along the bottom, and what draw
// paints inside, with y mapping a value to its height; or, without a value, a sentence.
struct Trend
{
    QString title;
    QStringList months;
    double top = 1;        // the axis from 0 to this
    QString (*tick)(double value, const LanguagePack &texts) = nullptr;
};

void paintFrame(QPainter &painter, const QRectF &area, const Trend &trend, const LanguagePack &texts, bool empty,
                QRectF &plot)
{
    painter.setPen(Qt::black);
    painter.setFont(font(HeadingHeight - 6, true));
    painter.drawText(QRectF(area.left(), area.top(), area.width(), 44), int(Qt::AlignLeft | Qt::AlignVCenter), trend.title);
    plot = QRectF(area.left() + 130, area.top() + 60, area.width() - 150, area.height() - 60 - 70);
    painter.setPen(QPen(QColor(150, 150, 150), 2));
    painter.drawRect(plot);
    if (empty) {
        painter.setPen(Qt::black);
        painter.setFont(font(TextHeight, false));
        painter.drawText(plot, int(Qt::AlignCenter), texts.GetText(LibraryQaText::NoData));
        return;
    }
    painter.setFont(font(SmallTextHeight, false));
    constexpr int Ticks = 4;
    for (int i = 0; i <= Ticks; ++i) {
        const double value = trend.top * i / Ticks;
        const double y = plot.bottom() - plot.height() * i / Ticks;
        painter.setPen(QPen(QColor(225, 225, 225), 1));
        if (i > 0 && i < Ticks)
            painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(area.left(), y - 20, 120, 40), int(Qt::AlignRight | Qt::AlignVCenter),
                         trend.tick(value, texts));
    }
    // Month labels where they fit: every step-th one.
    const int n = int(trend.months.size());
    const double slot = plot.width() / std::max(n, 1);
    const int step = std::max(1, int(std::ceil(130 / slot)));
    for (int i = 0; i < n; i += step)
        painter.drawText(QRectF(plot.left() + slot * (i + 0.5) - 70, plot.bottom() + 8, 140, 40),
                         int(Qt::AlignHCenter | Qt::AlignTop), trend.months[i]);
}

QString percentTick(double value, const LanguagePack &texts)
{
    return LibraryQaLines::percent(value, texts).replace(QRegularExpression(QStringLiteral("[.,]0 %")), QStringLiteral(" %"));
}
QString secondsTick(double value, const LanguagePack &texts)
{
    return LibraryQaLines::seconds(value, texts);
}
QString countTick(double value, const LanguagePack &)
{
    return QString::number(std::lround(value));
}

// A target across the plot at height y, named at its right end.
void paintTarget(QPainter &painter, const QRectF &plot, double y, const QString &label)
{
    painter.setPen(QPen(Alert, 3, Qt::DashLine));
    painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    painter.setFont(font(SmallTextHeight, false));
    painter.drawText(QRectF(plot.right() - 400, y - 36, 395, 34), int(Qt::AlignRight | Qt::AlignVCenter), label);
}

// The medians of the months that have one, a dot each at(month, value), joined by a line.
void paintMedians(QPainter &painter, const std::vector<LibraryStatsRow> &months,
                  std::optional<double> LibraryStatsRow::*median, const std::function<QPointF(std::size_t, double)> &at)
{
    QPainterPath path;
    painter.setPen(QPen(TrendColour, 4));
    painter.setBrush(TrendColour);
    for (std::size_t i = 0; i < months.size(); ++i)
        if (const std::optional<double> &m = months[i].*median) {
            const QPointF p = at(i, *m);
            path.elementCount() == 0 ? path.moveTo(p) : path.lineTo(p);
            painter.drawEllipse(p, 7, 7);
        }
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

// A round top for an axis of values up to largest.
double niceTop(double largest)
{
    if (largest <= 0)
        return 1;
    const double magnitude = std::pow(10, std::floor(std::log10(largest)));
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (m * magnitude >= largest)
            return m * magnitude;
    return 10 * magnitude;
}

} // namespace

LibraryQaReportPainter::LibraryQaReportPainter(const LibraryQaReport &report, const LanguagePack &texts, bool anonymize)
    : m_report(report), m_texts(texts), m_anonymize(anonymize), m_title(texts.GetText(LibraryQaText::Title)),
      m_period(LibraryQaLines::period(report.filter, texts))
{
    layOut();
}

void LibraryQaReportPainter::layOut()
{
    using namespace LibraryQaLines;
    const LanguagePack &t = m_texts;
    Flow flow(m_pages);
    flow.heading(t.GetText(LibraryQaText::Filters));
    for (const QString &f : filters(m_report.filter, t, m_anonymize))
        flow.text(f, 20);
    if (m_anonymize)
        flow.text(t.GetText(LibraryQaText::Anonymised), 20);

    flow.heading(t.GetText(LibraryText::Summary));
    const int cases = m_report.all.cases;
    if (cases == 0)
        flow.text(t.GetText(LibraryQaText::Empty));
    else if (cases < 10)
        flow.text(t.GetText(LibraryQaText::FewRecordings).arg(cases));
    QList<QStringList> lines;
    for (const Line &l : summary(m_report, t))
        lines << QStringList{l.label, l.value};
    flow.table({}, lines, {0.6, 0.4});

    flow.heading(t.GetText(HandsOffText::ByCauseTitle));
    lines.clear();
    for (const Line &l : handsOffByCause(m_report.all, t))
        lines << QStringList{l.label, l.value};
    if (lines.isEmpty())
        flow.text(t.GetText(LibraryQaText::NoData));
    flow.table({}, lines, {0.6, 0.4});

    flow.newPage();
    m_pages.back().push_back({Block::Kind::Charts, QRectF(0, ContentTop, Width, ContentBottom - ContentTop), {}, {}, false});

    flow.newPage();
    flow.heading(t.GetText(LibraryQaText::ByDevice));
    const QList<QStringList> devices = deviceRows(m_report, t);
    if (devices.isEmpty())
        flow.text(t.GetText(LibraryQaText::NoData));
    else
        flow.table(deviceHeaders(t), devices, {0.25, 0.15, 0.18, 0.18, 0.24});

    flow.heading(t.GetText(LibraryQaText::Attention));
    const QList<QStringList> attention = attentionRows(m_report, t, m_anonymize);
    if (attention.isEmpty()) {
        flow.text(t.GetText(LibraryQaText::NoAttention));
    } else {
        const std::vector<double> columns = m_anonymize ? std::vector<double>{0.13, 0.13, 0.08, 0.07, 0.14, 0.33, 0.12}
                                                        : std::vector<double>{0.12, 0.12, 0.16, 0.07, 0.06, 0.12, 0.27, 0.08};
        flow.table(attentionHeaders(t, m_anonymize), attention, columns);
        if (m_report.attentionTotal > int(m_report.attention.size()))
            flow.text(t.GetText(LibraryQaText::AttentionMore)
                          .arg(m_report.attentionTotal - int(m_report.attention.size()))
                          .arg(m_report.attention.size()));
    }

    flow.heading(t.GetText(LibraryQaText::Definitions));
    for (const QString &d : definitions(m_report, t))
        flow.text(d);
}

void LibraryQaReportPainter::paintPage(QPainter &painter, int page) const
{
    if (page < 1 || page > pageCount())
        return;
    painter.setPen(Qt::black);
    painter.setFont(font(TitleHeight * 0.75, true));
    painter.drawText(QRectF(0, 0, Width, TitleHeight), int(Qt::AlignLeft | Qt::AlignVCenter), m_title);
    painter.setFont(font(TextHeight, false));
    painter.drawText(QRectF(0, TitleHeight + 10, Width, 50), int(Qt::AlignLeft | Qt::AlignVCenter), m_period);
    painter.setPen(QPen(Qt::black, 3));
    painter.drawLine(QPointF(0, TitleHeight + 70), QPointF(Width, TitleHeight + 70));

    for (const Block &b : m_pages[std::size_t(page - 1)]) {
        painter.setPen(Qt::black);
        switch (b.kind) {
        case Block::Kind::Heading:
            painter.setFont(font(HeadingHeight, true));
            painter.drawText(b.rect, int(Qt::AlignLeft | Qt::AlignVCenter), b.cells.value(0));
            break;
        case Block::Kind::Text:
            painter.setFont(font(SmallTextHeight, false));
            painter.drawText(b.rect, int(Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop), b.cells.value(0));
            break;
        case Block::Kind::TableHeader:
        case Block::Kind::TableRow: {
            const bool header = b.kind == Block::Kind::TableHeader;
            if (header)
                painter.fillRect(b.rect, QColor(235, 235, 235));
            painter.setFont(font(header ? SmallTextHeight : TextHeight, header));
            painter.setPen(b.alert ? Alert : QColor(Qt::black));
            double left = b.rect.left();
            for (std::size_t i = 0; i < b.columns.size() && i < std::size_t(b.cells.size()); ++i) {
                const double width = b.columns[i] * b.rect.width();
                painter.drawText(QRectF(left + 8, b.rect.top(), width - 16, b.rect.height()),
                                 int(Qt::AlignLeft | Qt::AlignVCenter), painter.fontMetrics().elidedText(
                                     b.cells[qsizetype(i)], Qt::ElideRight, int(width - 16)));
                left += width;
            }
            painter.setPen(QPen(QColor(200, 200, 200), 1));
            painter.drawLine(b.rect.bottomLeft(), b.rect.bottomRight());
            break;
        }
        case Block::Kind::Charts:
            paintCharts(painter);
            break;
        }
    }

    painter.setPen(Qt::black);
    painter.setFont(font(SmallTextHeight, false));
    const QRectF footer(0, CprReportLayout::FooterTop, Width, CprReportLayout::Height - CprReportLayout::FooterTop);
    painter.drawText(footer, int(Qt::AlignRight | Qt::AlignVCenter),
                     m_texts.GetText(CprText::PageOf).arg(page).arg(pageCount()));
    painter.drawText(footer, int(Qt::AlignLeft | Qt::AlignVCenter), m_title);
}

void LibraryQaReportPainter::paintCharts(QPainter &painter) const
{
    const std::vector<LibraryStatsRow> &months = m_report.months;
    QStringList labels;
    for (const LibraryStatsRow &m : months)
        labels << (m.group.isEmpty() ? m_texts.GetText(LibraryText::Unknown) : m.group);
    const double height = (ContentBottom - ContentTop - 2 * ChartGap) / 3;
    const auto area = [height](int i) { return QRectF(0, ContentTop + i * (height + ChartGap), Width, height); };
    const auto x = [&months](const QRectF &plot, std::size_t i) {
        return plot.left() + plot.width() * (double(i) + 0.5) / double(std::max<std::size_t>(months.size(), 1));
    };
    const double slot = 1.0 / double(std::max<std::size_t>(months.size(), 1));

    // The median CCF with its interquartile band and the target.
    {
        const Trend trend{m_texts.GetText(LibraryQaText::CcfTrend), labels, 1.0, percentTick};
        const bool empty = std::none_of(months.begin(), months.end(), [](const LibraryStatsRow &m) { return m.medianCcf.has_value(); });
        QRectF plot;
        paintFrame(painter, area(0), trend, m_texts, empty, plot);
        if (!empty) {
            const auto y = [&plot](double v) { return plot.bottom() - plot.height() * std::clamp(v, 0.0, 1.0); };
            for (std::size_t i = 0; i < months.size(); ++i)
                if (months[i].lowerQuartileCcf && months[i].upperQuartileCcf) {
                    const double w = std::max(4.0, plot.width() * slot * 0.6);
                    painter.fillRect(QRectF(QPointF(x(plot, i) - w / 2, y(*months[i].upperQuartileCcf)),
                                            QPointF(x(plot, i) + w / 2, y(*months[i].lowerQuartileCcf))),
                                     Band);
                }
            paintTarget(painter, plot, y(m_report.ccfTarget),
                        m_texts.GetText(CprText::Target) + QStringLiteral(" ") + percentTick(m_report.ccfTarget, m_texts));
            paintMedians(painter, months, &LibraryStatsRow::medianCcf, [&](std::size_t i, double v) {
                return QPointF(x(plot, i), y(v));
            });
        }
    }
    // The median pre-shock pause and the 10 s line.
    {
        double largest = 20000;
        for (const LibraryStatsRow &m : months)
            largest = std::max(largest, m.medianPreShockPauseMs.value_or(0));
        const Trend trend{m_texts.GetText(LibraryQaText::PauseTrend), labels, niceTop(largest), secondsTick};
        const bool empty = std::none_of(months.begin(), months.end(),
                                        [](const LibraryStatsRow &m) { return m.medianPreShockPauseMs.has_value(); });
        QRectF plot;
        paintFrame(painter, area(1), trend, m_texts, empty, plot);
        if (!empty) {
            const auto y = [&plot, &trend](double v) { return plot.bottom() - plot.height() * v / trend.top; };
            paintTarget(painter, plot, y(10000), m_texts.GetText(CprText::Target) + QStringLiteral(" 10 s"));
            paintMedians(painter, months, &LibraryStatsRow::medianPreShockPauseMs, [&](std::size_t i, double v) {
                return QPointF(x(plot, i), y(v));
            });
        }
    }
    // Recordings per month.
    {
        int largest = 0;
        for (const LibraryStatsRow &m : months)
            largest = std::max(largest, m.cases);
        // Whole numbers at every tick.
        const double top = 4 * std::ceil(niceTop(std::max(largest, 4)) / 4);
        const Trend trend{m_texts.GetText(LibraryQaText::CountTrend), labels, top, countTick};
        QRectF plot;
        paintFrame(painter, area(2), trend, m_texts, months.empty(), plot);
        for (std::size_t i = 0; i < months.size(); ++i) {
            const double w = std::max(4.0, plot.width() * slot * 0.6);
            const double h = plot.height() * months[i].cases / trend.top;
            painter.fillRect(QRectF(x(plot, i) - w / 2, plot.bottom() - h, w, h), TrendColour);
        }
    }
}

bool LibraryQaReportPainter::print(QPagedPaintDevice &device, int fromPage, int toPage) const
{
    return CprReportLayout::printPages(device, fromPage, toPage, pageCount(),
                                       [this](QPainter &painter, int page) { paintPage(painter, page); });
}

QByteArray LibraryQaReportPainter::pdf(const LibraryQaReport &report, const LanguagePack &texts, bool anonymize,
                                       const QPageLayout &layout)
{
    return PdfDocument::make(layout, texts.GetText(LibraryQaText::Title), [&](QPagedPaintDevice &device) {
        return LibraryQaReportPainter(report, texts, anonymize).print(device);
    });
}

QByteArray LibraryQaReportPainter::pdf(const LibraryQaReport &report, const LanguagePack &texts, bool anonymize)
{
    return pdf(report, texts, anonymize, PdfDocument::a4Portrait());
}
