// A rectangle kept as its distinct rows gives back exactly the pixels an opaque copy of the
// rectangle gives, wherever it is taken from or put, edges of the picture included.
#include "ecg/RowRunImage.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

// Bands of equal rows (as a grid layer has) with a few single rows between them; every
// row differs from its neighbours somewhere.
QImage bandedPicture()
{
    QImage picture(37, 29, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        const int band = y < 10 ? 0 : y == 10 ? 1 : y < 20 ? 2 : y == 20 ? 3 : 4 + y;
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb((x * 7 + band * 31) % 256, band * 13 % 256, x % 5 == 0 ? 200 : 10));
    }
    return picture;
}

TEST(RowRunImage, CopiesWhatAnOpaqueCopyOfTheRectangleGives)
{
    const QImage source = bandedPicture();
    struct Case
    {
        QRect area;   // taken from the source
        QPoint place; // top-left in the target
    };
    const Case cases[] = {
        {QRect(3, 2, 20, 25), QPoint(4, 1)},     // inside both
        {QRect(-5, -3, 20, 40), QPoint(0, 0)},   // area past the source's edges
        {QRect(10, 5, 27, 24), QPoint(-6, -4)},  // placed past the target's top-left
        {QRect(0, 0, 37, 29), QPoint(20, 15)},   // placed past the target's bottom-right
        {QRect(0, 0, 37, 29), QPoint(40, 0)},    // placed wholly outside
    };
    for (const Case &c : cases) {
        const RowRunImage kept = RowRunImage::capture(source, c.area);
        QImage expected(30, 24, QImage::Format_RGB32);
        expected.fill(Qt::white);
        QImage actual = expected;
        QPainter painter(&expected);
        painter.drawImage(c.place, source.copy(c.area & source.rect()));
        painter.end();
        kept.copyInto(actual, c.place);
        EXPECT_EQ(actual, expected) << "area " << c.area.x() << "," << c.area.y() << " placed at " << c.place.x()
                                    << "," << c.place.y();
    }
}

TEST(RowRunImage, KeepsOneRowPerRunOfEqualRows)
{
    const RowRunImage kept = RowRunImage::capture(bandedPicture(), QRect(0, 0, 37, 29));
    EXPECT_EQ(kept.size(), QSize(37, 29));
    // Rows 0-9, row 10, rows 11-19, row 20, then eight rows of their own.
    EXPECT_EQ(kept.storedRows(), 4 + 8);
    EXPECT_EQ(RowRunImage::capture(bandedPicture(), QRect(50, 0, 5, 5)).storedRows(), 0);
}

} // namespace
