#pragma once

#include "cpr/HandsOffRows.h"

#include <QRectF>
#include <QString>
#include <vector>

class QPainter;

// The stacked bar of hands-off time by cause and its legend, as the tab, the printed report
// and the incident log show them: one stretch per cause in its colour, hatched where the
// reviewer set the cause.
namespace HandsOffBar {

// A stretch of the bar: [left, right) in the bar's units.
struct Segment
{
    double left = 0;
    double right = 0;
};

// The stretches of rows across [left, left + width), in row order, each as wide as its share
// of the rows' time; they touch, and the last ends at left + width. None without time.
std::vector<Segment> segments(const std::vector<HandsOffCauseRow> &rows, double left, double width);

// Where legend entry i goes when entries of the given widths run left to right and wrap onto
// a new line at `width`: its line (from 0) and left edge; an entry wider than a line takes one.
struct LegendPlace
{
    int line = 0;
    double left = 0;
};
std::vector<LegendPlace> legendPlaces(const std::vector<double> &entryWidths, double width, double gap);

// The colour of a cause as a CSS colour, "#rrggbb".
QString cssColour(const HandsOffCauseRow &row);

// The bar in rect, framed; a frame alone without time.
void paint(QPainter &painter, const QRectF &rect, const std::vector<HandsOffCauseRow> &rows);
// The small square of a cause in the legend.
void paintSwatch(QPainter &painter, const QRectF &rect, const HandsOffCauseRow &row);

} // namespace HandsOffBar
