#pragma once

#include <QLineF>
#include <QPen>
#include <QRect>
#include <cstdint>
#include <unordered_map>
#include <vector>

// Lines of an opaque pen wider than a pixel between whole-pixel points, written from stamps.
// The pixels the raster engine covers for such a line, drawn without antialiasing, depend
// only on where its second end lies from its first: the engine draws each line shape once into a scratch
// picture, and the pixels it leaves there (the stamp) are written wherever the shape comes
// again. The trace of the 8- and 6-second views joins its columns with a few hundred such
// shapes, and writing a stamp costs a fraction of drawing the line.
class LineStamps
{
public:
    // Largest step along x and y a stamp is kept for.
    static constexpr int MaxDx = 4;
    static constexpr int MaxDy = 2048;
    // Rows of pixels kept (12 bytes each) before all stamps are let go: a recording's trace
    // uses a few hundred shapes of a few dozen rows.
    static constexpr size_t MaxRuns = 1 << 16;

    // Writes, in the pen's colour into picture memory (bits, bytesPerLine, 32-bit pixels),
    // the lines (shifted by shift onto the device) whose ends are whole pixels and whose
    // pixels lie inside clip, away from its edges; returns the others, for the painter.
    // Any pen is taken: a pen that is not solid, opaque and wider than a pixel gets all its
    // lines back.
    std::vector<QLineF> draw(uchar *bits, qsizetype bytesPerLine, const QRect &clip, QPoint shift, const QPen &pen,
                             const QLineF *lines, int count);

    size_t size() const { return m_stamps.size(); }

private:
    struct Run
    {
        int dy;     // row, from the line's first end
        int dx;     // first pixel, from the line's first end
        int length; // pixels
    };
    struct Stamp
    {
        QRect bounds; // of the pixels, from the line's first end
        std::vector<Run> runs;
    };

    static Stamp make(const QPen &pen, int dx, int dy);

    QPen m_pen; // the pen the stamps were made with (its colour aside)
    std::unordered_map<uint32_t, Stamp> m_stamps;
    size_t m_runs = 0; // in m_stamps
};
