#pragma once

#include <QImage>
#include <QLineF>
#include <QPen>
#include <QRect>
#include <cstdint>
#include <unordered_map>
#include <vector>

class QPainter;

// Lines of an opaque pen wider than a pixel, written from stamps. The pixels the raster
// engine covers for such a line, drawn without antialiasing, keep their shape when the
// line moves by whole pixels: the engine draws each shape once into a scratch picture, and
// the pixels it leaves there (the stamp) are written wherever the shape comes again. A
// shape is what a line is once its first end is moved to the pixel grid: how far across
// (whole pixels) and down it goes, and where its ends lie within their pixel rows. The
// trace of the enlarged views is a few hundred such shapes, and writing a stamp costs a
// fraction of drawing the line.
class LineStamps
{
public:
    // Largest step across and down a stamp is kept for.
    static constexpr int MaxDx = 4;
    static constexpr int MaxDy = 2048;
    // Rows of pixels kept (12 bytes each) before all stamps are let go: a recording's trace
    // uses a few thousand shapes of a few rows each.
    static constexpr size_t MaxRuns = 1 << 16;

    // Writes, in the pen's colour into picture memory (bits, bytesPerLine, 32-bit pixels),
    // the lines (shifted by shift onto the device) whose ends lie on whole pixel columns
    // and whose pixels lie inside clip, away from its edges; returns the others, for the
    // painter. Any pen is taken: a pen that is not solid, opaque and wider than a pixel gets
    // all its lines back.
    std::vector<QLineF> draw(uchar *bits, qsizetype bytesPerLine, const QRect &clip, QPoint shift, const QPen &pen,
                             const QLineF *lines, int count);

    size_t size() const { return m_stamps.size(); }

private:
    struct Shape
    {
        int dx = 0;          // second end's column from the first's
        int dy = 0;          // second end's pixel row from the first's
        double from = 0;     // first end's place within its pixel row, [0, 1)
        double to = 0;       // second end's place within its pixel row, [0, 1)

        bool operator==(const Shape &) const = default;
    };
    struct ShapeHash
    {
        size_t operator()(const Shape &s) const;
    };
    struct Run
    {
        int dy;     // row, from the first end's pixel
        int dx;     // first pixel, from the first end's pixel
        int length; // pixels
    };
    struct Stamp
    {
        QRect bounds; // of the pixels, from the first end's pixel
        std::vector<Run> runs;
    };

    Stamp make(QPainter &painter, const Shape &shape);

    QPen m_pen; // the pen the stamps were made with (its colour aside)
    std::unordered_map<Shape, Stamp, ShapeHash> m_stamps;
    size_t m_runs = 0; // in m_stamps
    QImage m_scratch;  // where the engine draws a new shape
};
