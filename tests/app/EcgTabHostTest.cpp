// The ECG tabs' scroll bars and jump buttons: the scroll table as a rule, and the hosts
// moving the review position and the ECG windows with it.
#include "DetailFixture.h"
#include "app/CDetailSub1.h"
#include "app/EcgScrollRule.h"
#include "ecg/CEntired.h"
#include "ecg/CMagnified.h"

#include <QPushButton>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

using N = ScrollNotification;

// Where a child window sits in its tab.
QRect placeOf(const QWidget *window)
{
    return window->geometry();
}
using K = ScrollDecision::Kind;

TEST(EcgScrollRule, Table)
{
    // Range 0..100, case end 100 s, entire-ECG arrows of 30 s unless said otherwise.
    struct Row {
        N n;
        int p;
        int q;
        int64_t position;
        int step;
        ScrollDecision expected;
    };
    const Row rows[] = {
        // Arrows: a full step while it stays inside, else a jump.
        {N::LineLeft, 50, 0, 50, 30, {K::Move, 20, 20}},
        {N::LineLeft, 30, 0, 30, 30, {K::Move, 0, 0}},
        {N::LineLeft, 29, 0, 29, 30, {K::JumpToStart, 0, 0}},      // fewer than 30 s from the start
        {N::LineLeft, 50, 0, 20, 30, {K::JumpToStart, 0, 0}},      // the position decides too
        {N::LineLeft, 5, 0, 5, 1, {K::Move, 4, 4}},                // enlarged ECG: 1 s
        {N::LineRight, 50, 0, 50, 30, {K::Move, 80, 80}},
        {N::LineRight, 70, 0, 69, 30, {K::Move, 100, 99}},
        {N::LineRight, 71, 0, 50, 30, {K::JumpToEnd, 0, 0}},
        {N::LineRight, 50, 0, 70, 30, {K::JumpToEnd, 0, 0}},       // end - step is not after 70
        // Trough: one second.
        {N::PageLeft, 10, 0, 10, 30, {K::Move, 9, 9}},
        {N::PageLeft, 0, 0, 10, 30, {K::JumpToStart, 0, 0}},
        {N::PageLeft, 10, 0, 0, 30, {K::JumpToStart, 0, 0}},
        {N::PageRight, 10, 0, 10, 30, {K::Move, 11, 11}},
        {N::PageRight, 100, 0, 10, 30, {K::JumpToEnd, 0, 0}},
        {N::PageRight, 98, 0, 99, 30, {K::JumpToEnd, 0, 0}},
        // Released thumb: within 20 units nothing, else to q or an end.
        {N::ThumbPosition, 50, 70, 50, 30, {K::Nothing, 0, 0}},
        {N::ThumbPosition, 50, 30, 50, 30, {K::Nothing, 0, 0}},
        {N::ThumbPosition, 50, 71, 50, 30, {K::Move, 71, 71}},
        {N::ThumbPosition, 50, 0, 50, 30, {K::JumpToStart, 0, 0}},
        {N::ThumbPosition, 50, 100, 50, 30, {K::JumpToEnd, 0, 0}},
        // Dragged thumb: the picture follows wherever it goes; the ends jump.
        {N::ThumbTrack, 50, 50, 50, 30, {K::Nothing, 0, 0}},
        {N::ThumbTrack, 50, 71, 50, 30, {K::Move, 71, 71}},
        {N::ThumbTrack, 50, 40, 45, 30, {K::Move, 40, 40}},
        {N::ThumbTrack, 50, 5, 50, 30, {K::Move, 5, 5}},
        {N::ThumbTrack, 10, 0, 10, 30, {K::JumpToStart, 0, 0}},    // q at the range minimum
        {N::ThumbTrack, 90, 100, 90, 30, {K::JumpToEnd, 0, 0}},    // q at the range maximum
    };
    for (const Row &r : rows) {
        ScrollInput in;
        in.p = r.p;
        in.q = r.q;
        in.lo = 0;
        in.hi = 100;
        in.arrowStep = r.step;
        in.positionSeconds = r.position;
        in.endSeconds = 100;
        const ScrollDecision d = decideScroll(r.n, in);
        EXPECT_EQ(d, r.expected) << int(r.n) << " p " << r.p << " q " << r.q << " at " << r.position;
    }
}

class EcgTabHost : public ::testing::Test, public DetailFixture
{
protected:
    int slot = -1;

    void SetUp() override
    {
        makeDetailView();
        slot = caseWithEvents({0, 45000, 95500});
    }
    CDetailSub1 &entire() { return *detail->entireHost(); }
};

TEST_F(EcgTabHost, EntireArrowsMoveThirtySecondsAndJumpNearTheEnds)
{
    select(slot, 40);
    detail->tabBar()->setCurrentIndex(1);
    QScrollBar *bar = entire().scrollBar();
    ASSERT_EQ(bar->value(), 40);
    const int before = treeSelections;

    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(review.m_tsPosition, CTimeSpan(70));
    EXPECT_EQ(bar->value(), 70);
    EXPECT_EQ(entire().window()->m_nCentreMs, 70000);
    EXPECT_EQ(treeSelections, before + 1);

    // 95 - 30 is not after 70: to the end of the case.
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(review.m_tsPosition, CTimeSpan(95));
    EXPECT_EQ(bar->value(), 95);

    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(review.m_tsPosition, CTimeSpan(94));
    EXPECT_EQ(bar->value(), 94);

    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(review.m_tsPosition, CTimeSpan(64));
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(review.m_tsPosition, CTimeSpan(4));
    // Fewer than 30 s from the start: to the start.
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(review.m_tsPosition, CTimeSpan(0));
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(entire().window()->m_nCentreMs, 0);

    // Wheel-like moves and edge jumps of the bar itself change nothing.
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(review.m_tsPosition, CTimeSpan(0));
}

TEST_F(EcgTabHost, DraggedThumbTakesThePictureAlongAndSmallReleasesStay)
{
    select(slot, 10);
    detail->tabBar()->setCurrentIndex(1);
    QScrollBar *bar = entire().scrollBar();

    entire().OnScroll(N::ThumbPosition, 25);
    EXPECT_EQ(bar->value(), 10);
    EXPECT_EQ(bar->sliderPosition(), 10);
    EXPECT_EQ(review.m_tsPosition, CTimeSpan(10));

    const int before = treeSelections;
    entire().OnScroll(N::ThumbTrack, 50);
    EXPECT_EQ(review.m_tsPosition, CTimeSpan(50));
    EXPECT_EQ(entire().window()->m_nCentreMs, 50000);
    EXPECT_EQ(treeSelections, before + 1);
    entire().OnScroll(N::ThumbPosition, 50);
    EXPECT_EQ(review.m_tsPosition, CTimeSpan(50));
    EXPECT_EQ(bar->value(), 50);

    entire().OnScroll(N::ThumbTrack, 55);
    entire().OnScroll(N::ThumbTrack, 60);
    EXPECT_EQ(review.m_tsPosition, CTimeSpan(60));
    EXPECT_EQ(bar->value(), 60);
    EXPECT_FALSE(entire().thumbTip().isEmpty());
}

TEST_F(EcgTabHost, JumpButtonsAndEnlargedSteps)
{
    select(slot, 30, true);
    CDetailSub2 &host = enlarged();
    host.endButton()->click();
    EXPECT_EQ(review.m_tsPosition, CTimeSpan(95));
    EXPECT_EQ(host.window()->m_nCentreMs, 95000);
    EXPECT_EQ(host.scrollBar()->value(), 95);
    host.startButton()->click();
    EXPECT_EQ(review.m_tsPosition, CTimeSpan(0));
    EXPECT_EQ(host.window()->m_nCentreMs, 0);

    // The enlarged tab's arrows step one second.
    host.scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(review.m_tsPosition, CTimeSpan(1));
    EXPECT_EQ(host.window()->m_nCentreMs, 1000);
    EXPECT_EQ(host.scrollBar()->value(), 1);
}

TEST_F(EcgTabHost, WindowsAndControlsFollowTheTabSize)
{
    select(slot, 0);
    detail->tabBar()->setCurrentIndex(1);
    detail->resize(900, 622); // tabs of 900 x 600
    const QSize tab = entire().size();
    ASSERT_EQ(tab, QSize(900, 600));
    EXPECT_EQ(placeOf(entire().window()), QRect(8, 8, 870, 570));
    EXPECT_EQ(entire().startButton()->geometry(), QRect(8, 580, 22, 20));
    EXPECT_EQ(entire().scrollBar()->geometry(), QRect(30, 580, 840, 20));
    EXPECT_EQ(entire().endButton()->geometry(), QRect(870, 580, 22, 20));

    detail->tabBar()->setCurrentIndex(2);
    CDetailSub2 &host = enlarged();
    EXPECT_EQ(placeOf(host.window()), QRect(8, 42, 880, 508));
    EXPECT_EQ(host.window()->picture().size(), QSize(880, 508));
    EXPECT_EQ(host.playButton()->geometry(), QRect(8, 8, 32, 32));
    EXPECT_EQ(host.stopButton()->geometry(), QRect(42, 8, 32, 32));
    EXPECT_EQ(host.startButton()->geometry(), QRect(8, 550, 22, 20));
    EXPECT_EQ(host.scrollBar()->geometry(), QRect(30, 550, 830, 20));
    EXPECT_EQ(host.endButton()->geometry(), QRect(860, 550, 22, 20));
}

} // namespace
