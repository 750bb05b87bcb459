#pragma once

#include <QColor>
#include <QLineF>
#include <QRectF>

class QPainter;

// Fills and lines drawn in bands of rows. Qt's raster engine hands a fill or a line that
// covers more than about a hundred rows to its thread pool and waits for it; drawn in bands
// of fewer rows the same pixels come out on the calling thread alone, without the hand-over.
// For a painter without antialiasing whose transform is a whole-pixel translation (anything
// else is drawn in one piece).
namespace BandedPaint {

// Rows per band: below the engine's threshold.
constexpr int BandRows = 64;

// painter.fillRect(rect, colour), in bands.
void fillRect(QPainter &painter, const QRectF &rect, const QColor &colour);

// painter.drawLine(line) with the painter's pen; an upright line drawn with a pen wider
// than a pixel, in bands (clipping a slanted line to a band moves pixels at its edges).
void drawLine(QPainter &painter, const QLineF &line);

// painter.drawLines(lines, count): with a solid pen, the lines drawLine would split in bands
// after the others, which go in one call (the engine draws the lines of a call one by one,
// so the order does not change what a solid pen leaves).
void drawLines(QPainter &painter, const QLineF *lines, int count);

} // namespace BandedPaint
