// The entire-ECG window driven as its host drives it: position, clicks, the CPR menu and
// a few pixels of its picture.
#include "EcgCaseFixture.h"
#include "base/CommandIds.h"
#include "base/ContextMenuBuilder.h"
#include "ecg/CEntired.h"
#include "ecg/UpArrowCursor.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace {

using namespace CommandId;

struct MenuSeen
{
    bool shown = false;
    bool startEnabled = false;
    bool endEnabled = false;
    bool deleteEnabled = false;
    bool showChecked = false;
};

class EntireWindow : public ::testing::Test
{
protected:
    EcgCaseFixture f;
    int slot = f.flatCase(200);
    CEntired window{f.view, f.review};
    int scrolledTo = -1;
    int selectCalls = 0;
    int showCalls = 0;
    MenuSeen seen;
    int answer = 0; // command the scripted menu returns

    void SetUp() override
    {
        window.onScrollPosition = [this](int s) { scrolledTo = s; };
        window.onSelectEventAtPosition = [this] { ++selectCalls; };
        window.onShowEnlarged = [this] { ++showCalls; };
        window.menuExec = [this](QMenu &menu, const QPoint &) {
            seen.shown = true;
            seen.startEnabled = ContextMenuBuilder::findAction(&menu, EntireCprStart)->isEnabled();
            seen.endEnabled = ContextMenuBuilder::findAction(&menu, EntireCprEnd)->isEnabled();
            seen.deleteEnabled = ContextMenuBuilder::findAction(&menu, EntireCprDelete)->isEnabled();
            seen.showChecked = ContextMenuBuilder::findAction(&menu, EntireShowCprPeriods)->isChecked();
            return answer;
        };
        window.Resize(0, 0, 1000, 600); // 30 px per second; rows 90 px high, 20 px apart
        window.UpdateLayout();
        show(slot, 100);
    }

    // What the detail view does to show a case at a position.
    void show(int caseSlot, int seconds)
    {
        f.review.m_nSelCase = caseSlot;
        window.SetPosition(CTimeSpan(seconds));
        window.m_nCase = caseSlot;
        window.FillRows(caseSlot);
        window.Redraw();
    }

    void rightClick(QPoint pos, int command)
    {
        seen = {};
        answer = command;
        window.OnRightButtonUp(pos, pos);
    }

    QColor pixel(int x, int y) const { return window.picture().pixelColor(x, y); }
    static bool isCprYellow(QColor c) { return c.red() > 240 && c.green() > 240 && c.blue() < 200; }
};

TEST_F(EntireWindow, PositionSetsRowsLabelsAndTheScrollBar)
{
    EXPECT_EQ(window.m_nCentreMs, 100000);
    EXPECT_EQ(scrolledTo, 100);
    EXPECT_EQ(window.m_nRowStartMs, (std::array<int32_t, 5>{25000, 55000, 85000, 115000, 145000}));
    EXPECT_EQ(window.m_nRowEndMs[4], 175000);
    // No valid start time: elapsed time from the case start.
    EXPECT_EQ(window.labels()[0], "00:00:25");
    EXPECT_EQ(window.labels()[2], "00:00:55");
    EXPECT_EQ(window.labels()[3], "00:00:55");
    EXPECT_EQ(window.labels()[7], "00:01:40");
    EXPECT_EQ(window.labels()[14], "00:02:55");

    f.view.store.caseAt(slot)->startTimeValid = true;
    f.view.store.caseAt(slot)->startTime = CTime(2021, 3, 7, 9, 5, 0);
    window.SetPosition(CTimeSpan(100));
    EXPECT_EQ(window.labels()[7], "09:06:40");

    f.review.m_nSelCase = NoCaseShown;
    window.SetPosition(CTimeSpan(10));
    EXPECT_EQ(window.m_nCentreMs, 100000);
}

TEST_F(EntireWindow, RowsHoldTheSamplesOfTheirRange)
{
    // The flat case covers 0..200 s: every row is covered.
    const uint8_t *rows = window.rows();
    EXPECT_EQ(rows[0], 125);
    EXPECT_EQ(rows[37499], 125);
    show(slot, 0); // rows 1 and 2 and half of row 3 lie before the case start
    EXPECT_EQ(window.rows()[0], 0);
    EXPECT_EQ(window.rows()[2 * 7500 + 3749], 0);
    EXPECT_EQ(window.rows()[2 * 7500 + 3750], 125);
}

TEST_F(EntireWindow, LeftClickMovesTheReviewAndAsksForTheEnlargedEcg)
{
    window.OnLeftButtonUp({350, 150}); // row 2, 10 s in
    EXPECT_EQ(window.m_nMouseMs, 55000 + 10000);
    EXPECT_EQ(f.review.m_tsPosition, CTimeSpan(65));
    EXPECT_EQ(f.review.m_bShowEnlarged, 1);
    EXPECT_EQ(selectCalls, 1);
    EXPECT_EQ(showCalls, 1);
}

TEST_F(EntireWindow, ClicksOutsideTheRowsOrTheCaseDoNothing)
{
    window.OnLeftButtonUp({350, 120}); // the gap between rows 1 and 2
    window.OnLeftButtonUp({960, 150}); // right of the rows
    show(slot, 0);
    window.OnLeftButtonUp({350, 30}); // before the case start
    EXPECT_LT(window.m_nMouseMs, 0);
    show(slot, 190);
    window.OnLeftButtonUp({900, 480}); // row 5, after the latest event
    EXPECT_GT(window.m_nMouseMs, 200000);
    rightClick({900, 480}, 0);
    EXPECT_FALSE(seen.shown);
    EXPECT_EQ(selectCalls, 0);
    EXPECT_EQ(f.review.m_bShowEnlarged, 0);
}

TEST_F(EntireWindow, LatestEventTimeNeverDecreases)
{
    EXPECT_EQ(window.m_nLatestEventMs, 200000);
    const int shorter = f.flatCase(50);
    show(shorter, 100);
    EXPECT_EQ(window.m_nLatestEventMs, 200000);
    window.OnLeftButtonUp({350, 150}); // 65 s: after the shorter case's end, before the longer one's
    EXPECT_EQ(selectCalls, 1);
}

TEST_F(EntireWindow, CprMenuStatesAndMarking)
{
    f.view.store.AddCprPeriod(slot, 60000, 70000, false);
    rightClick({350, 150}, 0); // 65 s, inside the period
    EXPECT_TRUE(seen.shown);
    EXPECT_FALSE(seen.startEnabled);
    EXPECT_FALSE(seen.endEnabled);
    EXPECT_TRUE(seen.deleteEnabled);
    EXPECT_TRUE(seen.showChecked);

    // Start at 75 s: a one-second band at once, 30 pixels from x = 650 in row 2.
    rightClick({650, 150}, EntireCprStart);
    EXPECT_TRUE(seen.startEnabled);
    EXPECT_TRUE(isCprYellow(pixel(665, 135)));
    EXPECT_FALSE(isCprYellow(pixel(685, 135)));

    // End at 80.033 s: the band runs to the whole second after it.
    rightClick({801, 150}, EntireCprEnd);
    EXPECT_TRUE(seen.endEnabled);
    EXPECT_FALSE(seen.startEnabled);
    const CprPeriod &p = f.view.store.caseAt(slot)->cprPeriods[1];
    EXPECT_EQ(p.startMs, 75000);
    EXPECT_EQ(p.endMs, 81000);
    EXPECT_TRUE(isCprYellow(pixel(825, 135)));
    EXPECT_FALSE(isCprYellow(pixel(835, 135)));

    // Hide, then delete the first period.
    rightClick({350, 150}, EntireShowCprPeriods);
    EXPECT_FALSE(window.m_cpr.m_bShowCprPeriods);
    EXPECT_FALSE(isCprYellow(pixel(665, 135)));
    rightClick({350, 150}, EntireCprDelete);
    EXPECT_FALSE(seen.showChecked);
    EXPECT_FALSE(f.view.store.caseAt(slot)->cprPeriods.isUsed(0));
}

TEST_F(EntireWindow, PictureShowsThePositionMarkerAndSegments)
{
    // The position marker: 3 pixels wide at x = 50 + 15 v in row 3 (the grid line under its
    // middle), in the centre-line colour over white.
    EXPECT_EQ(pixel(499, 245), QColor(133, 133, 212));
    EXPECT_EQ(pixel(501, 245), QColor(133, 133, 212));
    EXPECT_EQ(pixel(502, 245), QColor(Qt::white));

    // A segment of 29.5..31.2 s after row 1's start shades row 1 from 29 s and row 2 to 1 s.
    f.view.store.AddSegment(slot, 25000 + 29500, 25000 + 31200);
    window.Redraw();
    auto magenta = [](QColor c) { return c.green() < 220 && c.red() > 240 && c.blue() > 240; };
    EXPECT_TRUE(magenta(pixel(50 + 29 * 30 + 5, 25)));
    EXPECT_FALSE(magenta(pixel(50 + 29 * 30 - 5, 25)));
    EXPECT_TRUE(magenta(pixel(50 + 25, 135)));
    EXPECT_FALSE(magenta(pixel(50 + 35, 135)));
}

TEST_F(EntireWindow, NoCaseShownDrawsTheGridOnly)
{
    window.m_nCase = NoCaseShown;
    f.view.store.AddCprPeriod(slot, 90000, 110000, false);
    window.Redraw();
    EXPECT_EQ(pixel(520, 245), QColor(Qt::white)); // no shading, no trace
    EXPECT_NE(pixel(500, 245), QColor(Qt::white)); // the position marker
}

TEST_F(EntireWindow, UpwardArrowOverTheRows)
{
    EXPECT_TRUE(window.isOverRow({50, 20}));
    EXPECT_FALSE(window.isOverRow({49, 20}));
    EXPECT_FALSE(window.isOverRow({500, 115}));

    auto moveTo = [&](QPoint pos) {
        QMouseEvent move(QEvent::MouseMove, QPointF(pos), window.mapToGlobal(QPointF(pos)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &move);
    };
    moveTo({300, 60});
    EXPECT_EQ(window.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(window.cursor().hotSpot(), QPoint(15, 4));
    moveTo({300, 120});
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);

    const QImage arrow = UpArrowCursor::image();
    EXPECT_EQ(arrow.size(), QSize(32, 32));
    EXPECT_EQ(UpArrowCursor::HotSpot, QPoint(15, 4));
    EXPECT_EQ(qAlpha(arrow.pixel(15, 4)), 255);
    EXPECT_EQ(qAlpha(arrow.pixel(15, 3)), 0);
    EXPECT_EQ(qAlpha(arrow.pixel(15, 20)), 255);
    EXPECT_EQ(UpArrowCursor::cursor().hotSpot(), QPoint(15, 4));
}

} // namespace
