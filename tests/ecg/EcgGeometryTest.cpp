// Scales, geometry and hit tests of the ECG pictures for given client sizes.
#include "ecg/EcgGeometry.h"

#include <gtest/gtest.h>

namespace {

struct EnlargedCase
{
    EnlargedView view;
    bool cpr;
    bool folded;
    int E, X, H, R;
    double p;
};

TEST(EnlargedGeometry, FollowsTheClientSizeInEveryView)
{
    const EnlargedCase cases[] = {
        {EnlargedView::EightSecond, false, false, 600, 930, 500, 48, 23.25},
        {EnlargedView::EightSecond, true, false, 400, 930, 300, 28, 23.25},
        {EnlargedView::EightSecond, true, true, 570, 930, 470, 45, 23.25},
        {EnlargedView::SixSecond, false, false, 600, 930, 500, 48, 31.0},
        {EnlargedView::Large, false, false, 600, 930, 500, 19, 18.6},
        {EnlargedView::Large, true, false, 400, 930, 300, 11, 18.6},
    };
    for (const EnlargedCase &c : cases) {
        const EnlargedGeometry g = enlargedGeometry(1000, 600, c.view, c.cpr, c.folded);
        SCOPED_TRACE(int(c.view));
        EXPECT_EQ(g.E, c.E);
        EXPECT_EQ(g.X, c.X);
        EXPECT_EQ(g.H, c.H);
        EXPECT_EQ(g.R, c.R);
        EXPECT_DOUBLE_EQ(g.p, c.p);
    }
    // A folded panel only matters when the case has CPR feedback.
    EXPECT_EQ(enlargedEcgHeight(600, false, true), 600);
}

TEST(EnlargedGeometry, ScalesOfTheThreeViews)
{
    const EnlargedViewScale eight = enlargedScale(EnlargedView::EightSecond);
    const EnlargedViewScale six = enlargedScale(EnlargedView::SixSecond);
    const EnlargedViewScale large = enlargedScale(EnlargedView::Large);
    EXPECT_EQ(eight.halfMs * 2, eight.cells * eight.cellMs);
    EXPECT_EQ(six.halfMs * 2, six.cells * six.cellMs);
    EXPECT_EQ(large.halfMs * 2, large.cells * large.cellMs);
    EXPECT_EQ(eight.sampleCount * 4, eight.spanMs());
    EXPECT_EQ(six.sampleCount, 1500);
    EXPECT_EQ(large.sampleCount, 500);
    EXPECT_EQ(large.rows, 25);
    EXPECT_EQ(eight.provisionalCprMs, 200);
    EXPECT_EQ(large.provisionalCprMs, 40);
}

TEST(EnlargedGeometry, BuffersAndButtons)
{
    EXPECT_EQ(enlargedStripSize(1000, 600), QSize(2790, 500));
    EXPECT_EQ(enlargedPanelSize(1000, 600), QSize(1000, 195));
    EXPECT_EQ(enlargedStripSize(50, 50), QSize(1, 1));
    EXPECT_EQ(foldButtonRect(600), QRect(QPoint(70, 410), QPoint(99, 429)));
    EXPECT_EQ(unfoldButtonRect(600), QRect(QPoint(70, 577), QPoint(99, 596)));
    EXPECT_EQ(optionsButtonRect(), QRect(QPoint(41, 42), QPoint(70, 64)));
}

TEST(EnlargedGeometry, HitRectangleExcludesItsRightAndBottomEdges)
{
    const QRect r = enlargedHitRect(1000, 600);
    EXPECT_TRUE(r.contains(40, 41));
    EXPECT_TRUE(r.contains(969, 524));
    EXPECT_FALSE(r.contains(39, 100));
    EXPECT_FALSE(r.contains(970, 100));
    EXPECT_FALSE(r.contains(100, 525));
}

TEST(EnlargedGeometry, MousePositionToTime)
{
    // Large view, X = 930: the grid's left edge is centre - 1000, its middle the centre.
    EXPECT_EQ(enlargedTimeAt(40, EnlargedView::Large, 60000, 930), 59000);
    EXPECT_EQ(enlargedTimeAt(505, EnlargedView::Large, 60000, 930), 60000);
    EXPECT_EQ(enlargedTimeAt(970, EnlargedView::Large, 60000, 930), 61000);
    EXPECT_EQ(enlargedTimeAt(505, EnlargedView::EightSecond, 60000, 930), 60000);
    EXPECT_EQ(enlargedTimeAt(41, EnlargedView::EightSecond, 60000, 930), 56000 + 8000 / 930);
    EXPECT_EQ(enlargedTimeAt(40, EnlargedView::SixSecond, 2000, 930), -1000);
}

TEST(EntireGeometry, RowsLabelsAndHitAreas)
{
    const EntireGeometry g = entireGeometry(1000, 600);
    EXPECT_EQ(g.v, 30);
    EXPECT_DOUBLE_EQ(g.u, 90);
    EXPECT_EQ(g.D, 90);
    EXPECT_EQ(g.d, 18);
    EXPECT_EQ(g.rowWidth(), 900);
    EXPECT_EQ(g.rowTop(0), 20);
    EXPECT_EQ(g.rowTop(1), 130);
    EXPECT_EQ(g.rowTop(4), 460);
    EXPECT_EQ(g.rowRect(1), QRect(QPoint(50, 130), QPoint(949, 219)));
    EXPECT_EQ(g.labelRect(0, 0), QRectF(26, 110, 48, 20));
    EXPECT_EQ(g.labelRect(4, 2), QRectF(926, 550, 48, 20));

    EXPECT_EQ(entireRowAt(g, {50, 20}), 0);
    EXPECT_EQ(entireRowAt(g, {949, 109}), 0);
    EXPECT_EQ(entireRowAt(g, {950, 20}), -1);
    EXPECT_EQ(entireRowAt(g, {500, 110}), -1); // the label gap
    EXPECT_EQ(entireRowAt(g, {500, 130}), 1);
    EXPECT_EQ(entireRowAt(g, {49, 130}), -1);
}

TEST(EntireGeometry, ClickTimeInARow)
{
    // 30 pixels per second: x = 350 is 10 s into the row.
    const std::array<int32_t, 5> starts = entireRowStarts(100000);
    EXPECT_EQ(starts[0], 25000);
    EXPECT_EQ(starts[1], 55000);
    EXPECT_EQ(starts[4], 145000);
    EXPECT_EQ(entireTimeAt(350, 30, starts[1]), starts[1] + 10000);
    EXPECT_EQ(entireTimeAt(50, 30, starts[1]), starts[1]);
    EXPECT_EQ(entireTimeAt(51, 30, starts[1]), starts[1] + 33);
    // Truncation toward zero before the row start is added.
    EXPECT_EQ(entireTimeAt(51, 30, -75000), -75000 + 33);
    EXPECT_EQ(entireTimeAt(400, 0, 1000), 1000);
}

} // namespace
