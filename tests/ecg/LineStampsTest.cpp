// Lines written from stamps leave exactly the pixels the painter leaves for them, wherever
// the same shape of line comes again, with the painter's translation and clip; the lines a
// stamp cannot take (ends between pixels, near the clip's edges, thin pens and pens that
// blend) come back for the painter.
#include "ecg/LineStamps.h"

#include <QPainter>
#include <gtest/gtest.h>

#include "PatternedPicture.h"

#include <algorithm>
#include <random>

namespace {

// Draws lines through a painter translated by shift and clipped to clip, or, for stamps,
// writes what the stamps take and draws the rest.
QImage drawn(QSize size, QPoint shift, const QRect &clip, const QPen &p, const std::vector<QLineF> &lines,
             LineStamps *stamps, size_t *painted = nullptr)
{
    QImage picture = patternedPicture(size);
    std::vector<QLineF> rest = lines;
    if (stamps)
        rest = stamps->draw(picture.bits(), picture.bytesPerLine(), clip, shift, p, lines.data(), int(lines.size()));
    if (painted)
        *painted = rest.size();
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipRect(clip);
    painter.translate(shift);
    painter.setPen(p);
    painter.drawLines(rest.data(), int(rest.size()));
    return picture;
}

TEST(LineStamps, WritesThePixelsThePainterDraws)
{
    const QSize size(300, 420);
    const QPoint shift(7, 13);
    const QRect clip(5, 10, 280, 400);
    std::mt19937 random(7);
    std::vector<QLineF> lines;
    // Joins between trace columns: one pixel across, any rise, anywhere; a shape comes again.
    for (int i = 0; i < 600; ++i) {
        const int x = int(random() % 300) - 10;
        const int y = int(random() % 420) - 15;
        const int rise = int(random() % 161) - 80;
        lines.emplace_back(x - 1, y, x, y + rise);
    }
    // Lines from sample to sample as the large view draws them: ends between pixel rows.
    for (const int R : {13, 24, 31}) {
        const double scale = R / 10.0;
        const double bottom = 12.0 * R + 6;
        for (int i = 0; i < 300; ++i) {
            const int x = int(random() % 300) - 10;
            const int a = 1 + int(random() % 255);
            const int b = std::clamp(a + int(random() % 41) - 20, 1, 255);
            lines.emplace_back(x - 1, bottom - a * scale, x, bottom - b * scale);
        }
    }
    lines.emplace_back(20, 30, 23, 330);     // steep, three across
    lines.emplace_back(20, 30, 24, 31);      // nearly flat
    lines.emplace_back(20.5, 30, 21.5, 60);  // ends between pixels
    lines.emplace_back(50, 40, 50, 40);      // a point
    lines.emplace_back(60, 40, 75, 90);      // too far across for a stamp
    const QPen pens[] = {
        ecgPen(QColor(0, 100, 0), 1.7),                // the 8- and 6-second trace
        ecgPen(QColor(0, 50, 0), 1.5),                 // the large view's trace
        ecgPen(QColor(0, 100, 0), 3, Qt::SquareCap),
        ecgPen(QColor(0, 100, 0), 1),                  // thin: left to the painter
        ecgPen(QColor(0, 100, 0, 120), 1.7),           // translucent: left to the painter
    };
    LineStamps stamps; // kept across pens: a new pen's shapes are made afresh
    for (const QPen &p : pens) {
        const QImage expected = drawn(size, shift, clip, p, lines, nullptr);
        size_t painted = 0;
        EXPECT_EQ(drawn(size, shift, clip, p, lines, &stamps, &painted), expected) << "pen width " << p.widthF();
        if (p.widthF() > 1 && p.color().alpha() == 255)
            EXPECT_LT(painted, lines.size() / 2) << "the lines inside the clip are written from stamps, pen width " << p.widthF();
        else
            EXPECT_EQ(painted, lines.size());
        // Drawn again from the kept stamps.
        EXPECT_EQ(drawn(size, shift, clip, p, lines, &stamps), expected) << "again, pen width " << p.widthF();
    }
    EXPECT_GT(stamps.size(), 0u);
}

TEST(LineStamps, GivesBackTheLinesItDoesNotWrite)
{
    LineStamps stamps;
    QImage picture = patternedPicture(QSize(100, 100));
    const QRect clip(0, 0, 100, 100);
    const QLineF lines[] = {
        QLineF(10, 10, 11, 40),    // written
        QLineF(10.5, 10, 11, 40),  // between pixels
        QLineF(1, 10, 2, 40),      // at the clip's edge
        QLineF(10, 10, 30, 40),    // too far across
    };
    const std::vector<QLineF> rest = stamps.draw(picture.bits(), picture.bytesPerLine(), clip, QPoint(0, 0),
                                                 ecgPen(QColor(0, 100, 0), 1.7), lines, 4);
    EXPECT_EQ(rest, std::vector<QLineF>(lines + 1, lines + 4));
}

} // namespace
