#pragma once

#include <QImage>
#include <QLineF>
#include <QPen>
#include <QRgb>
#include <vector>

// One-pixel lines of an opaque pen written straight into a picture's memory. Without
// antialiasing and without a transform, the raster engine draws a line of a solid pen no
// wider than a pixel one pixel per row (a steep line) or per column (a flat one): the ends
// taken in 1/64 pixel, truncated, the first and the last row (column) found by rounding
// each end half up, and the pixel of each row where the line, stepped in 16.16 fixed point,
// crosses it; a line that turns back against the last line the same call drew (down after
// up, left after right) gains half a pixel at its start; a point sets the pixel it lies
// nearest to. The Entire ECG's trace is some 18 000 such lines; writing them here spares the
// engine's general span code.

// Whether lines of pen can be written by drawThinLines: solid, opaque, flat caps, no wider
// than a pixel.
bool writesThinLines(const QPen &pen);

// The pixels of one line drawn on its own; empty when the line is not one drawThinLines
// writes (an end within a pixel of the area's edge or past it).
std::vector<QPoint> thinLinePixels(const QLineF &line, QSize area);

// Writes lines in colour into picture memory (bits, bytesPerLine, 32-bit pixels, size),
// the pixels one drawLines call of the painter sets for them. When a line is not one it
// takes (one reaching to within a pixel of the picture's edge) it writes nothing and
// returns all the lines, for the painter; otherwise it returns none.
std::vector<QLineF> drawThinLines(uchar *bits, qsizetype bytesPerLine, QSize size, QRgb colour,
                                  const QLineF *lines, int count);
