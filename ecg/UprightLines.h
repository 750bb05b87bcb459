#pragma once

#include <QImage>
#include <QLineF>
#include <QPen>
#include <QRect>
#include <vector>

// Upright lines of an opaque pen written straight into a picture's memory. The raster
// engine covers, for an upright line drawn without antialiasing by a solid pen wider than a
// pixel with flat caps, a rectangle of whole pixels (the line's ends and the pen's edges,
// each rounded half up), and spends most of its time on such a line in general code. The
// trace of the 8- and 6-second views is half upright lines.

// The device pixels the raster engine covers for the upright line (device coordinates);
// empty for a line that is not upright or has no length.
QRect uprightLinePixels(const QLineF &line, qreal penWidth);

// Whether lines of pen can be written by drawUprightLines: solid, opaque, wider than a
// pixel, flat caps.
bool writesUprightLines(const QPen &pen);

// Writes the upright lines among lines (shifted by shift onto the device) in the pen's
// colour into picture memory (bits, bytesPerLine, 32-bit pixels) where their pixels lie
// wholly inside clip; returns the others, for the painter.
std::vector<QLineF> drawUprightLines(uchar *bits, qsizetype bytesPerLine, const QRect &clip, QPoint shift,
                                     const QPen &pen, const QLineF *lines, int count);
