#pragma once

#include "cpr/CprQualityResult.h"
#include "cpr/CprReviewSettings.h"

#include <QColor>
#include <QRectF>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

class QPainter;

// One chart of the CPR quality review: a bar a minute with the target band shaded behind
// the bars. The same painter draws it in the tab (pixels) and on the printed page (tenths
// of a millimetre), given the rectangle to fill and the text height in its units.
struct CprChartSeries
{
    QString title;
    std::vector<int64_t> minutes;              // minute k of case time, one a bar
    std::vector<std::optional<double>> values; // none: no bar
    double bandLow = 0;                        // the target band, in the chart's unit
    double bandHigh = 0;
    double axisMax = 1;                        // the value axis runs from 0 to this
    QChar decimalSeparator = QLatin1Char('.'); // of the value labels
};

namespace CprChart {

// The three charts of a result: rate (/min), depth (in the shown unit) and CCF (%). The
// axis reaches the larger of a fixed top (160 /min, 3 in, 100 %) and the highest value,
// so bars of one kind compare across cases; the CCF band runs from the target to 100 %.
CprChartSeries rateSeries(const CprQualityResult &result, const CprReviewSettings &settings, const QString &title);
CprChartSeries depthSeries(const CprQualityResult &result, const CprReviewSettings &settings, const QString &title);
CprChartSeries ccfSeries(const CprQualityResult &result, const CprReviewSettings &settings, const QString &title);

// The plot inside a chart's rectangle: a title line above, value labels on the left (four
// text heights wide) and minute labels below.
QRectF plotArea(const QRectF &chart, double textHeight);
// y of a value on the plot: 0 at the bottom, axisMax at the top, clamped to the plot.
double valueY(const QRectF &plot, double value, double axisMax);
// Bar i of n: the i-th of n equal slots across the plot, with a fifth of a slot free on
// each side, from the bottom to the value.
QRectF barRect(const QRectF &plot, int index, int count, double value, double axisMax);
// The band behind the bars, across the whole plot.
QRectF bandRect(const QRectF &plot, const CprChartSeries &series);
// Every how many minutes a minute label is written, so that labels do not crowd: the
// smallest of 1, 2, 5, 10, 15, 30, 60... that leaves at most maxLabels labels.
int labelStep(int count, int maxLabels);

void paint(QPainter &painter, const QRectF &chart, const CprChartSeries &series, double textHeight);

// Colours shared by the tab and the page.
QColor bandColour();      // translucent green
QColor inBandColour();    // bars inside the band
QColor outOfBandColour(); // bars outside it

} // namespace CprChart
