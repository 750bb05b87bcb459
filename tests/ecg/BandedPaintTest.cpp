// Fills and lines drawn in bands leave exactly the pixels that one call of the painter
// leaves: over a picture that is not blank (translucent colours blend with it), through a
// translation and a clip, and for rectangles and lines whose ends fall between pixels.
#include "ecg/BandedPaint.h"

#include <QPainter>
#include <gtest/gtest.h>

#include "PatternedPicture.h"

#include <functional>

namespace {

struct Painting
{
    QPointF shift;   // the painter's translation
    QRect clip;      // device clip; empty: none
    bool antialiased = false;
};

// The picture after draw, with the painter set up as painting says.
QImage paint(const Painting &painting, const std::function<void(QPainter &)> &draw)
{
    QImage picture = patternedPicture(QSize(260, 420));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, painting.antialiased);
    if (!painting.clip.isEmpty())
        painter.setClipRect(painting.clip);
    painter.translate(painting.shift);
    draw(painter);
    painter.end();
    return picture;
}

const Painting Paintings[] = {
    {QPointF(0, 0), QRect(), false},
    {QPointF(7, 35), QRect(5, 20, 240, 380), false}, // as the enlarged picture draws its strip
    {QPointF(-3, -11), QRect(), false},
    {QPointF(2.5, 1), QRect(), false},                // half-pixel shift: drawn in one piece
    {QPointF(4, 4), QRect(), true},                   // antialiased: drawn in one piece
};

TEST(BandedPaint, FillsTheRectangleOneFillGives)
{
    const QRectF rects[] = {
        QRectF(10, 12, 30, 300),        // many bands
        QRectF(10.5, 12.5, 30.5, 64),   // half-pixel edges round up
        QRectF(20.49, 3.51, 17.2, 129.49),
        QRectF(40, 300, 25, -250.3),    // upside down
        QRectF(-20, -40, 80, 500),      // past the picture's edges
        QRectF(5, 5, 0.4, 200),         // rounds to no width
        QRectF(5, 5, 12, 63.6),         // one band and a row
    };
    const QColor colours[] = {QColor(100, 100, 200, 200), QColor(250, 250, 0, 80), QColor(0, 100, 0)};
    for (const Painting &painting : Paintings)
        for (const QRectF &rect : rects)
            for (const QColor &colour : colours) {
                const QImage expected = paint(painting, [&](QPainter &p) { p.fillRect(rect, colour); });
                const QImage actual = paint(painting, [&](QPainter &p) { BandedPaint::fillRect(p, rect, colour); });
                EXPECT_EQ(actual, expected) << "rect " << rect.x() << "," << rect.y() << " " << rect.width() << "x"
                                            << rect.height() << " alpha " << colour.alpha() << " shift "
                                            << painting.shift.x() << "," << painting.shift.y();
            }
}

TEST(BandedPaint, DrawsTheLinesOneCallGives)
{
    const QLineF lines[] = {
        QLineF(50, 6, 50, 390),       // an upright line over many bands
        QLineF(60.5, 390.5, 60.5, 0), // drawn upwards, half-pixel ends
        QLineF(70, 10, 70, 40),       // fits in a band
        QLineF(80, 10, 81, 300),      // slanted: never split
        QLineF(90, 200, 200, 210),    // nearly flat
        QLineF(100, -50, 100, 600),   // past the picture's edges
        QLineF(30, 100, 30, 100),     // a point
    };
    const QPen pens[] = {
        QPen(QColor(100, 100, 200, 200), 3, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin), // centre line
        QPen(QColor(0, 100, 0), 1.7, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin),        // trace
        QPen(QColor(220, 150, 150, 150), 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin),
        QPen(QColor(220, 150, 150, 200), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin), // thin: one piece
        QPen(QColor(0, 0, 200), 2, Qt::DashLine, Qt::FlatCap, Qt::MiterJoin),           // dashed
    };
    for (const Painting &painting : Paintings)
        for (const QPen &pen : pens) {
            for (const QLineF &line : lines) {
                const QImage expected = paint(painting, [&](QPainter &p) {
                    p.setPen(pen);
                    p.drawLine(line);
                });
                const QImage actual = paint(painting, [&](QPainter &p) {
                    p.setPen(pen);
                    BandedPaint::drawLine(p, line);
                });
                EXPECT_EQ(actual, expected) << "line " << line.x1() << "," << line.y1() << " " << line.x2() << ","
                                            << line.y2() << " pen " << pen.widthF();
            }
            const QImage expected = paint(painting, [&](QPainter &p) {
                p.setPen(pen);
                p.drawLines(lines, int(std::size(lines)));
            });
            const QImage actual = paint(painting, [&](QPainter &p) {
                p.setPen(pen);
                BandedPaint::drawLines(p, lines, int(std::size(lines)));
            });
            EXPECT_EQ(actual, expected) << "all lines, pen " << pen.widthF() << " shift " << painting.shift.x();
        }
}

} // namespace
