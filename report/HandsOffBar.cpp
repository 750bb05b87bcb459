#include "report/HandsOffBar.h"

#include "cpr/PauseCauseStyle.h"

#include <QPainter>

namespace HandsOffBar {

namespace {

QColor colour(const HandsOffCauseRow &row)
{
    return QColor::fromRgb(QRgb(0xFF000000u | pauseCauseStyle(row.cause, row.setByReviewer).rgb));
}

void fill(QPainter &painter, const QRectF &rect, const HandsOffCauseRow &row)
{
    painter.fillRect(rect, colour(row));
    if (pauseCauseStyle(row.cause, row.setByReviewer).hatched)
        painter.fillRect(rect, QBrush(QColor(0, 0, 0, 150), Qt::BDiagPattern));
}

} // namespace

std::vector<Segment> segments(const std::vector<HandsOffCauseRow> &rows, double left, double width)
{
    int64_t total = 0;
    for (const HandsOffCauseRow &r : rows)
        total += r.ms;
    std::vector<Segment> out;
    if (total <= 0)
        return out;
    int64_t before = 0;
    for (const HandsOffCauseRow &r : rows) {
        const double a = left + width * double(before) / double(total);
        before += r.ms;
        const double b = left + width * double(before) / double(total);
        out.push_back({a, b});
    }
    return out;
}

std::vector<LegendPlace> legendPlaces(const std::vector<double> &entryWidths, double width, double gap)
{
    std::vector<LegendPlace> places;
    int line = 0;
    double x = 0;
    for (double w : entryWidths) {
        if (x > 0 && x + w > width) {
            ++line;
            x = 0;
        }
        places.push_back({line, x});
        x += w + gap;
    }
    return places;
}

QString cssColour(const HandsOffCauseRow &row)
{
    return QString::asprintf("#%06x", unsigned(pauseCauseStyle(row.cause, row.setByReviewer).rgb));
}

void paint(QPainter &painter, const QRectF &rect, const std::vector<HandsOffCauseRow> &rows)
{
    painter.save();
    const std::vector<Segment> s = segments(rows, rect.left(), rect.width());
    for (size_t i = 0; i < s.size(); ++i)
        fill(painter, QRectF(QPointF(s[i].left, rect.top()), QPointF(s[i].right, rect.bottom())), rows[i]);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    for (size_t i = 1; i < s.size(); ++i)
        painter.drawLine(QPointF(s[i].left, rect.top()), QPointF(s[i].left, rect.bottom()));
    painter.drawRect(rect);
    painter.restore();
}

void paintSwatch(QPainter &painter, const QRectF &rect, const HandsOffCauseRow &row)
{
    painter.save();
    fill(painter, rect, row);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect);
    painter.restore();
}

} // namespace HandsOffBar
