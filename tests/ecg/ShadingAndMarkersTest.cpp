// Where CPR periods and segments are shaded, and where event markers go.
#include "ecg/EventMarkers.h"
#include "ecg/IntervalShading.h"

#include <gtest/gtest.h>

namespace {

TEST(EnlargedShading, SixSecondViewSnapsToCells)
{
    // X = 630, p = 21: a period 1250..4790 ms after the window start is shaded from the
    // cell boundary at 1200 ms to the one at 4600 ms.
    const EnlargedGeometry g = enlargedGeometry(700, 600, EnlargedView::SixSecond, false, false);
    const auto rect = enlargedShadeRect(11250, 14790, 10000, 16000, g, true);
    ASSERT_TRUE(rect);
    EXPECT_EQ(*rect, QRectF(630 + 6 * 21, 6, (23 - 6) * 21, 10 * g.R));
}

TEST(EnlargedShading, CprPeriodsOfTheEightSecondViewAreNotSnapped)
{
    const EnlargedGeometry g = enlargedGeometry(890, 600, EnlargedView::EightSecond, false, false); // p = 20.5
    EXPECT_EQ(enlargedShadeRect(11250, 12000, 10000, 18000, g, false)->x(), 820 + 128);
    EXPECT_EQ(enlargedShadeRect(11250, 12000, 10000, 18000, g, true)->x(), 820 + 123);
    EXPECT_FALSE(shadeSnapsToCell(EnlargedView::EightSecond, true));
    EXPECT_TRUE(shadeSnapsToCell(EnlargedView::EightSecond, false));
    EXPECT_TRUE(shadeSnapsToCell(EnlargedView::SixSecond, true));
}

TEST(EnlargedShading, IntervalsReachingOutOfTheWindow)
{
    const EnlargedGeometry g = enlargedGeometry(700, 600, EnlargedView::SixSecond, false, false);
    const double full = 30 * 21;
    // Starts inside, ends after: to the grid's right end.
    EXPECT_EQ(enlargedShadeRect(12000, 30000, 10000, 16000, g, true)->width(), full - 10 * 21);
    // Starts before, ends inside: from the left edge.
    EXPECT_EQ(*enlargedShadeRect(5000, 11000, 10000, 16000, g, true), QRectF(630, 6, 5 * 21, 10 * g.R));
    // Contains the window.
    EXPECT_EQ(*enlargedShadeRect(5000, 20000, 10000, 16000, g, true), QRectF(630, 6, full, 10 * g.R));
    EXPECT_FALSE(enlargedShadeRect(5000, 9999, 10000, 16000, g, true));
    EXPECT_FALSE(enlargedShadeRect(16001, 20000, 10000, 16000, g, true));
}

TEST(EnlargedShading, ShortCprPeriodsShowOnlyInTheEightSecondView)
{
    EXPECT_TRUE(cprPeriodShaded(EnlargedView::EightSecond, 1000, 1200));
    EXPECT_FALSE(cprPeriodShaded(EnlargedView::SixSecond, 1000, 1200));
    EXPECT_FALSE(cprPeriodShaded(EnlargedView::Large, 1000, 1040));
    EXPECT_TRUE(cprPeriodShaded(EnlargedView::SixSecond, 1000, 1201));
    EXPECT_TRUE(cprPeriodShaded(EnlargedView::Large, 1000, 1201));
}

TEST(EntireShading, PeriodAcrossTwoRowsToThePixelSegmentByWholeSeconds)
{
    // w = 1000: 30 pixels per second; rows of 30 s from 0.
    const EntireGeometry g = entireGeometry(1000, 600);
    const std::array<int32_t, 5> starts = entireRowStarts(75000);
    auto rect = [&](int row, bool wholeSeconds) {
        return entireShadeRect(29500, 31200, starts[size_t(row)], starts[size_t(row)] + 30000, row, g,
                               wholeSeconds);
    };
    EXPECT_EQ(*rect(0, false), QRect(50 + 885, 20, 15, 90));
    EXPECT_EQ(*rect(1, false), QRect(50, 130, 36, 90));
    EXPECT_FALSE(rect(2, false));
    EXPECT_EQ(*rect(0, true), QRect(50 + 870, 20, 30, 90));
    EXPECT_EQ(*rect(1, true), QRect(50, 130, 30, 90));
    EXPECT_FALSE(entireShadeRect(-5000, -1, 0, 30000, 0, g, false));
}

TEST(EventMarkers, LabelRowsCycle)
{
    const int expected[] = {1, 8, 2, 7, 3, 6, 1, 8};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(eventLabelRow(i), expected[i]) << i;
}

TEST(EventMarkers, VisitOrderOfTheViews)
{
    EventTable events;
    events.add(EventItem::make(500, "a", ""));
    events.add(EventItem::make(100, "b", ""));
    events.add(EventItem::make(900, "gone", ""));
    events.add(EventItem::make(100, "c", ""));
    events.add(EventItem::make(300, "d", ""));
    events.remove(2);
    EXPECT_EQ(eventVisitOrder(events, EnlargedView::EightSecond), (std::vector<int>{1, 3, 4, 0}));
    EXPECT_EQ(eventVisitOrder(events, EnlargedView::SixSecond), (std::vector<int>{0, 1, 3, 4}));
    EXPECT_EQ(eventVisitOrder(events, EnlargedView::Large), (std::vector<int>{0, 1, 3, 4}));
}

TEST(EventMarkers, EnlargedMarkerInTheStripRange)
{
    const EnlargedGeometry g = enlargedGeometry(890, 600, EnlargedView::EightSecond, false, false); // p = 20.5
    EXPECT_EQ(enlargedMarkerX(1000, 0, 24000, g), 102);
    EXPECT_EQ(enlargedMarkerX(0, 0, 24000, g), 0);
    EXPECT_EQ(enlargedMarkerX(24000, 0, 24000, g), 2460);
    EXPECT_FALSE(enlargedMarkerX(-1, 0, 24000, g));
    EXPECT_FALSE(enlargedMarkerX(24001, 0, 24000, g));
}

TEST(EventMarkers, EntireMarkerOnARowBoundaryEndsTheUpperRow)
{
    const std::array<int32_t, 5> starts = entireRowStarts(75000);
    std::array<int32_t, 5> ends{};
    for (size_t k = 0; k < 5; ++k)
        ends[k] = starts[k] + 30000;
    using Place = std::pair<int, int>;
    EXPECT_EQ(entireMarkerPlace(30000, starts, ends, 30), Place(0, 950));
    EXPECT_EQ(entireMarkerPlace(30001, starts, ends, 30), Place(1, 50));
    EXPECT_EQ(entireMarkerPlace(0, starts, ends, 30), Place(0, 50));
    EXPECT_EQ(entireMarkerPlace(150000, starts, ends, 30), Place(4, 950));
    EXPECT_FALSE(entireMarkerPlace(-1, starts, ends, 30));
    EXPECT_FALSE(entireMarkerPlace(150001, starts, ends, 30));
}

} // namespace
