#include "report/CprChart.h"

#include "cpr/CprQuality.h"

#include <QFont>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace CprChart {

namespace {

constexpr double RateAxisTop = 160;
constexpr double DepthAxisTopIn = 3.0;
constexpr double CcfAxisTop = 100;

template <typename Pick>
CprChartSeries series(const CprQualityResult &r, const QString &title, double low, double high, double axisTop,
                      Pick pick)
{
    CprChartSeries s;
    s.title = title;
    s.bandLow = low;
    s.bandHigh = high;
    s.axisMax = std::max(axisTop, high);
    for (const CprMinute &m : r.perMinute) {
        s.minutes.push_back(m.minute);
        const std::optional<double> v = pick(m);
        s.values.push_back(v);
        if (v)
            s.axisMax = std::max(s.axisMax, *v);
    }
    return s;
}

double inUnit(double inches, CprDepthUnit unit)
{
    return unit == CprDepthUnit::Centimetres ? inchesToCm(inches) : inches;
}

QString axisNumber(double v, QChar decimalSeparator)
{
    return QString::number(v, 'g', 3).replace(QLatin1Char('.'), decimalSeparator);
}

QFont chartFont(double textHeight, bool bold)
{
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(std::max(1, int(std::lround(textHeight))));
    f.setBold(bold);
    return f;
}

} // namespace

CprChartSeries rateSeries(const CprQualityResult &r, const CprReviewSettings &settings, const QString &title)
{
    const CprQualitySettings &q = settings.quality;
    return series(r, title, q.rateMinPerMin, q.rateMaxPerMin, RateAxisTop,
                  [](const CprMinute &m) { return m.meanRatePerMin; });
}

CprChartSeries depthSeries(const CprQualityResult &r, const CprReviewSettings &settings, const QString &title)
{
    const CprDepthUnit unit = settings.depthUnit;
    const CprQualitySettings &q = settings.quality;
    CprChartSeries s = series(r, title, inUnit(q.depthMinIn, unit), inUnit(q.depthMaxIn, unit),
                              inUnit(DepthAxisTopIn, unit), [unit](const CprMinute &m) -> std::optional<double> {
                                  if (!m.meanDepthIn)
                                      return std::nullopt;
                                  return inUnit(*m.meanDepthIn, unit);
                              });
    // The axis ends on a whole inch or centimetre (8 cm, not 7.62).
    s.axisMax = std::ceil(s.axisMax - 1e-9);
    return s;
}

CprChartSeries ccfSeries(const CprQualityResult &r, const CprReviewSettings &settings, const QString &title)
{
    return series(r, title, settings.quality.ccfTarget * 100, CcfAxisTop, CcfAxisTop,
                  [](const CprMinute &m) -> std::optional<double> {
                      if (!m.ccf)
                          return std::nullopt;
                      return *m.ccf * 100;
                  });
}

QRectF plotArea(const QRectF &chart, double textHeight)
{
    return chart.adjusted(4 * textHeight, 1.6 * textHeight, -0.5 * textHeight, -1.6 * textHeight);
}

double valueY(const QRectF &plot, double value, double axisMax)
{
    const double share = axisMax > 0 ? std::clamp(value / axisMax, 0.0, 1.0) : 0.0;
    return plot.bottom() - share * plot.height();
}

QRectF barRect(const QRectF &plot, int index, int count, double value, double axisMax)
{
    const double slot = plot.width() / std::max(1, count);
    const double left = plot.left() + slot * index + slot / 5;
    const double top = valueY(plot, value, axisMax);
    return QRectF(left, top, slot * 3 / 5, plot.bottom() - top);
}

QRectF bandRect(const QRectF &plot, const CprChartSeries &s)
{
    const double top = valueY(plot, s.bandHigh, s.axisMax);
    return QRectF(plot.left(), top, plot.width(), valueY(plot, s.bandLow, s.axisMax) - top);
}

int labelStep(int count, int maxLabels)
{
    static constexpr int Steps[] = {1, 2, 5, 10, 15, 30, 60, 120, 240, 480, 960};
    for (int step : Steps)
        if ((count + step - 1) / step <= std::max(1, maxLabels))
            return step;
    return Steps[std::size(Steps) - 1] * (1 + count / (Steps[std::size(Steps) - 1] * std::max(1, maxLabels)));
}

QColor bandColour()
{
    return QColor(60, 170, 60, 70);
}

QColor inBandColour()
{
    return QColor(30, 120, 40);
}

QColor outOfBandColour()
{
    return QColor(210, 90, 20);
}

void paint(QPainter &painter, const QRectF &chart, const CprChartSeries &s, double textHeight)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRectF plot = plotArea(chart, textHeight);
    const QPen line(QColor(90, 90, 90), std::max(1.0, textHeight / 12));

    painter.setFont(chartFont(textHeight, true));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(chart.left(), chart.top(), chart.width(), 1.4 * textHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, s.title);

    painter.fillRect(plot, Qt::white);
    painter.fillRect(bandRect(plot, s), bandColour());

    const int n = int(s.values.size());
    for (int i = 0; i < n; ++i) {
        if (!s.values[size_t(i)])
            continue;
        const double v = *s.values[size_t(i)];
        const bool inside = v >= s.bandLow - 1e-9 && v <= s.bandHigh + 1e-9;
        painter.fillRect(barRect(plot, i, n, v, s.axisMax), inside ? inBandColour() : outOfBandColour());
    }

    painter.setPen(line);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);

    // Value labels at 0, the band's bounds and the top of the axis.
    painter.setFont(chartFont(textHeight, false));
    painter.setPen(Qt::black);
    std::vector<double> marks = {0, s.bandLow, s.bandHigh, s.axisMax};
    std::sort(marks.begin(), marks.end());
    marks.erase(std::unique(marks.begin(), marks.end()), marks.end());
    double lastY = 1e300;
    for (double v : marks) {
        const double y = valueY(plot, v, s.axisMax);
        if (std::abs(lastY - y) < textHeight)
            continue; // too close to the label below it
        lastY = y;
        painter.drawText(QRectF(chart.left(), y - textHeight / 2, plot.left() - chart.left() - textHeight / 4,
                                textHeight),
                         Qt::AlignRight | Qt::AlignVCenter, axisNumber(v, s.decimalSeparator));
    }

    const int step = labelStep(n, std::max(1, int(plot.width() / (3 * textHeight))));
    const double slot = plot.width() / std::max(1, n);
    for (int i = 0; i < n; ++i) {
        if (s.minutes[size_t(i)] % step != 0)
            continue;
        const double x = plot.left() + slot * (i + 0.5);
        painter.drawText(QRectF(x - 2 * textHeight, plot.bottom() + textHeight * 0.2, 4 * textHeight, 1.3 * textHeight),
                         Qt::AlignHCenter | Qt::AlignTop, QString::number(s.minutes[size_t(i)]));
    }
    painter.restore();
}

} // namespace CprChart
