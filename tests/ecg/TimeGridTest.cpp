// Grid time labels and the vertical lines of the enlarged grids.
#include "ecg/TimeGrid.h"

#include <gtest/gtest.h>

namespace {

TEST(GridTimeLabel, ClockTimeWithAValidStartElseElapsedTime)
{
    const CTime start(2021, 3, 7, 9, 5, 0);
    EXPECT_EQ(gridTimeLabel(true, start, 0), "09:05:00");
    EXPECT_EQ(gridTimeLabel(true, start, 75), "09:06:15");
    EXPECT_EQ(gridTimeLabel(true, start, -75), "09:03:45");
    EXPECT_EQ(gridTimeLabel(false, start, 75), "00:01:15");
    EXPECT_EQ(gridTimeLabel(false, start, 3725), "01:02:05");
    EXPECT_EQ(gridTimeLabel(false, start, 90000), "01:00:00"); // hours within the day
    EXPECT_EQ(gridTimeLabel(false, start, -75), "-00:01:15");
    EXPECT_EQ(gridTimeLabel(nullptr, 61), "00:01:01");
}

TEST(GridTimeLabel, FirstCellRoundsUpOnlyPastTheTolerance)
{
    EXPECT_EQ(firstCellNumber(4000, 200), 20);
    EXPECT_EQ(firstCellNumber(4012, 200), 20);
    EXPECT_EQ(firstCellNumber(4013, 200), 21);
    EXPECT_EQ(firstCellNumber(1003, 40), 25);
    EXPECT_EQ(firstCellNumber(1004, 40), 26);
}

TEST(VerticalGrid, EightSecondViewLinesAndLabels)
{
    // centre 10 s, X = 930, p = 23.25: the window 6..14 s starts on a whole second.
    const std::vector<VerticalGridLine> lines =
        verticalGridLines(10000, enlargedScale(EnlargedView::EightSecond), 930, 23.25);
    ASSERT_EQ(lines.size(), 42u); // 41 cell boundaries and the first line past the window
    EXPECT_EQ(lines.front().x, 930);
    EXPECT_EQ(lines.front().cellNumber, 50);
    EXPECT_EQ(lines.front().kind, VerticalGridLine::Kind::Second);
    EXPECT_TRUE(lines.front().labelled);
    EXPECT_EQ(lines.front().labelSeconds, 6);
    EXPECT_EQ(lines[1].x, 953);
    EXPECT_EQ(lines[1].kind, VerticalGridLine::Kind::Fine);
    EXPECT_EQ(lines[40].labelSeconds, 14);
    EXPECT_EQ(lines.back().x, 930 + 953);

    int labels = 0;
    for (const VerticalGridLine &l : lines)
        labels += l.labelled ? 1 : 0;
    EXPECT_EQ(labels, 9);
}

TEST(VerticalGrid, LargeViewMarksEveryFifthCell)
{
    const std::vector<VerticalGridLine> lines =
        verticalGridLines(10000, enlargedScale(EnlargedView::Large), 930, 18.6);
    ASSERT_GE(lines.size(), 51u);
    EXPECT_EQ(lines[0].kind, VerticalGridLine::Kind::Second);
    EXPECT_EQ(lines[0].labelSeconds, 9);
    EXPECT_EQ(lines[1].kind, VerticalGridLine::Kind::Fine);
    EXPECT_EQ(lines[5].kind, VerticalGridLine::Kind::Fifth);
    EXPECT_EQ(lines[25].kind, VerticalGridLine::Kind::Second);
    EXPECT_EQ(lines[50].labelSeconds, 11);
}

TEST(VerticalGrid, LabelRectangleInThePicture)
{
    EXPECT_EQ(gridLabelRect(930, 930, 500), QRectF(16, 535, 48, 20));
    EXPECT_EQ(gridLabelRect(953, 930, 500), QRectF(39, 535, 48, 20));
}

} // namespace
