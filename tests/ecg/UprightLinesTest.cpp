// Upright lines written straight into the picture leave exactly the pixels the painter
// leaves for them, with the painter's translation and clip; the lines it cannot write
// (slanted, reaching past the clip, pens it does not take) come back for the painter.
#include "ecg/UprightLines.h"

#include <QPainter>
#include <gtest/gtest.h>

#include "PatternedPicture.h"

namespace {

TEST(UprightLines, WritesThePixelsThePainterDraws)
{
    const QSize size(120, 200);
    const QPoint shift(9, 15);
    const QRect clip(10, 16, 100, 170); // device: the lines at x 1 and 100 reach past it
    std::vector<QLineF> lines;
    for (int x = 1; x <= 100; x += 3) {
        const int top = 1 + x % 37;
        lines.emplace_back(x, top, x, top + x % 50 + 1);           // whole-pixel ends, downwards
        lines.emplace_back(x + 1, top + 20.5, x + 1, top + 19.5);  // one pixel tall, upwards
        lines.emplace_back(x + 0.5, top, x + 0.5, top + 7.5);      // half-pixel column
        lines.emplace_back(x - 1, top, x, top + 9);                // slanted: left to the painter
    }
    lines.emplace_back(40, 0, 40, 180);  // past the clip's bottom
    lines.emplace_back(30, 12, 30, 12);  // a point
    const QPen pens[] = {
        ecgPen(QColor(0, 100, 0), 1.7),                 // the 8- and 6-second trace
        ecgPen(QColor(0, 50, 0), 1.5),                  // the large view's trace
        ecgPen(QColor(10, 20, 30), 2.4),
        ecgPen(QColor(0, 100, 0, 200), 1.7),            // translucent: not written
        ecgPen(QColor(0, 100, 0), 1.7, Qt::SquareCap),  // other caps: not written
        ecgPen(QColor(0, 100, 0), 1),                   // thin: not written
        ecgPen(QColor(0, 100, 0), 1.7, Qt::FlatCap, Qt::DashLine),
    };
    for (const QPen &p : pens) {
        QImage expected = patternedPicture(size);
        QImage actual = expected;
        const auto painted = [&](QImage &picture, const std::vector<QLineF> &drawn) {
            QPainter painter(&picture);
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.setClipRect(clip);
            painter.translate(shift);
            painter.setPen(p);
            painter.drawLines(drawn.data(), int(drawn.size()));
        };
        painted(expected, lines);
        const std::vector<QLineF> rest = drawUprightLines(actual.bits(), actual.bytesPerLine(), clip, shift, p,
                                                          lines.data(), int(lines.size()));
        painted(actual, rest);
        EXPECT_EQ(actual, expected) << "pen width " << p.widthF() << " alpha " << p.color().alpha();
        if (writesUprightLines(p))
            EXPECT_LT(rest.size(), lines.size() / 2) << "most upright lines are written, pen width " << p.widthF();
        else
            EXPECT_EQ(rest.size(), lines.size());
    }
}

TEST(UprightLines, PixelsOfALine)
{
    struct Case
    {
        QLineF line;
        qreal width;
        QRect pixels;
    };
    const Case cases[] = {
        {QLineF(10, 5, 10, 25), 1.7, QRect(9, 5, 2, 20)},
        {QLineF(10, 25, 10, 5), 1.7, QRect(9, 5, 2, 20)},      // either direction
        {QLineF(10, 7.5, 10, 6.5), 1.7, QRect(9, 7, 2, 1)},    // one pixel tall
        {QLineF(10.5, 5, 10.5, 8), 1.5, QRect(10, 5, 1, 3)},  // 9.75 to 11.25: one column
        {QLineF(10, 5, 11, 25), 1.7, QRect()},                 // slanted
        {QLineF(10, 5, 10, 5), 1.7, QRect()},                  // no length
    };
    for (const Case &c : cases)
        EXPECT_EQ(uprightLinePixels(c.line, c.width), c.pixels)
            << c.line.x1() << "," << c.line.y1() << " " << c.line.x2() << "," << c.line.y2();
}

} // namespace
