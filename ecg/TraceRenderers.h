#pragma once

#include "ecg/EcgGeometry.h"

#include <QLineF>
#include <cstdint>
#include <vector>

// The three ways an ECG trace becomes lines. Each returns the lines in drawing order, so
// that they can be checked as numbers and drawn in one call. A sample of 0 is a place
// the ECG does not cover: columns that only see such places draw nothing, and no line
// joins the trace to them. Wherever there are samples the trace is unbroken: every
// column that has samples draws at least one pixel, a flat one (asystole, the pause
// after a shock) included, whatever the pen.

// Samples one pixel column takes, [begin, end). Columns step over the buffer by a
// floating-point number of samples; a column that would fall between two samples (more
// columns than samples) takes the one at its start, so the trace stays whole.
struct ColumnSamples
{
    int maxValue = 0;   // of the covered samples; 0 when the column has none
    int minValue = 0;   // of the covered samples; 0 when the column has none

    bool covered() const { return maxValue != 0; }
};
ColumnSamples columnSamples(const uint8_t *samples, int count, double from, double step);

// The vertical line of column x from yLow down the picture to yHigh (yLow >= yHigh); one
// pixel long, centred, where the two are less than a pixel apart.
QLineF columnLine(double x, double yLow, double yHigh);

// Enlarged 8- and 6-second views: one vertical line per column from the column's lowest
// to its highest sample, plus a connector to the previous column. Strip coordinates:
// x0 is the left edge of the shown window, the grid bottom is 10R + 6, H the strip height.
std::vector<QLineF> envelopeLines(const uint8_t *samples, int count, int x0, double p, int cells, int R, int H);

// Enlarged large view (500 samples over more columns than samples): a line from sample to
// sample for each column, the line ending at x covering the pixel column left of x; the
// grid bottom is 25R + 6.
std::vector<QLineF> pairLines(const uint8_t *samples, int count, int x0, double p, int cells, int R, int H);

// Entire ECG: the five rows of 7500 samples each, decimated per column like the envelope
// renderer but on the raw values; connectors only where two columns do not overlap.
std::vector<QLineF> entireLines(const uint8_t *rows, const EntireGeometry &g);
