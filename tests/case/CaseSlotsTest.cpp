#include "CaseViewFixture.h"

#include <gtest/gtest.h>

namespace {

class CaseSlots : public ::testing::Test, public CaseViewFixture
{
protected:
    int slot = view.AllocateCaseSlot();
    CaseRecord &record = *view.caseAt(slot);
};

TEST_F(CaseSlots, NewCaseIsEmptyButForTheUnits)
{
    EXPECT_EQ(record.heightUnitIndex, 1);
    EXPECT_EQ(record.weightUnitIndex, 1);
    EXPECT_EQ(record.events.count(), 0);
    EXPECT_EQ(record.startTime.GetTime(), 0);
    EXPECT_FALSE(record.startTimeValid);
    EXPECT_EQ(record.buildState, 0);
}

TEST_F(CaseSlots, FullEventTableReportsOncePerCaseAndStoresNothing)
{
    for (int i = 0; i < MaxEvents; ++i)
        view.AddEvent(slot, i, QStringLiteral("e"), QString());
    ASSERT_EQ(record.events.count(), MaxEvents);
    EXPECT_TRUE(platform.messages.isEmpty());

    view.AddEvent(slot, 1, QStringLiteral("one too many"), QString());
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0].text, "Can't add any more annotation.");
    EXPECT_EQ(platform.messages[0].caption, "Lumeron AED Event review software");
    EXPECT_EQ(platform.messages[0].icon, Platform::Icon::Stop);
    EXPECT_EQ(platform.messages[0].buttons, Platform::Buttons::Ok);

    // Once reported, the case takes no more events, even into a freed slot.
    record.events.remove(10);
    view.AddEvent(slot, 2, QStringLiteral("after"), QString());
    EXPECT_EQ(platform.messages.size(), 1);
    EXPECT_FALSE(record.events.isUsed(10));
    EXPECT_EQ(record.events.count(), MaxEvents);

    // Another case has its own limit.
    const int other = view.AllocateCaseSlot();
    view.AddEvent(other, 0, QStringLiteral("x"), QString());
    EXPECT_EQ(view.caseAt(other)->events.count(), 1);
}

TEST_F(CaseSlots, EmptiedEventSlotsAreReusedLowestFirst)
{
    for (int i = 0; i < 4; ++i)
        view.AddEvent(slot, i * 1000, QStringLiteral("e%1").arg(i), QString());
    record.events.remove(2);
    record.events.remove(1);

    view.AddEvent(slot, 9000, QStringLiteral("first"), QStringLiteral("body"));
    view.AddEvent(slot, 9500, QStringLiteral("second"), QString());
    view.AddEvent(slot, 9900, QStringLiteral("third"), QString());

    EXPECT_EQ(record.events[1].text, "first");
    EXPECT_EQ(record.events[1].detail, "body");
    EXPECT_EQ(record.events[2].text, "second");
    EXPECT_EQ(record.events[4].text, "third");
    EXPECT_EQ(record.events.count(), 5);
}

TEST_F(CaseSlots, ElapsedTruncatesTowardZero)
{
    struct Case { int32_t timeMs; int hours, minutes, seconds; };
    const Case cases[] = {{-1500, 0, 0, -1}, {3725999, 1, 2, 5}, {999, 0, 0, 0}, {90000000, 25, 0, 0}};
    for (const auto &c : cases)
        view.AddEvent(slot, c.timeMs, QString(), QString());
    for (int i = 0; i < int(std::size(cases)); ++i) {
        const CTimeSpan e = record.events[i].elapsed;
        EXPECT_EQ(e.GetTotalHours(), cases[i].hours) << cases[i].timeMs;
        EXPECT_EQ(e.GetMinutes(), cases[i].minutes) << cases[i].timeMs;
        EXPECT_EQ(e.GetSeconds(), cases[i].seconds) << cases[i].timeMs;
    }
}

TEST_F(CaseSlots, FullCprTableRefusesEvenWithEmptySlots)
{
    for (int i = 0; i < MaxCprPeriods; ++i)
        EXPECT_EQ(view.AddCprPeriod(slot, 1000 * i, 1000 * i + 500, true), i);
    record.cprPeriods.remove(5);

    // Asked for the index, a refusal is told apart from slot 0.
    EXPECT_EQ(view.AddCprPeriod(slot, 10, 20, true), -1);
    EXPECT_EQ(view.AddCprPeriod(slot, 10, 20, false), 0);
    EXPECT_EQ(platform.texts(), QStringList({"Can't add any more CPR Periods.", "Can't add any more CPR Periods."}));
    EXPECT_EQ(platform.messages[0].caption, "Lumeron AED Event review software");
    EXPECT_EQ(record.cprPeriods.usedCount(), MaxCprPeriods - 1);

    // A full table finds nothing, even a time inside a used period.
    EXPECT_EQ(view.FindCprPeriod(slot, 250), MaxCprPeriods);
    EXPECT_EQ(view.FindCprPeriod(slot, 7250), MaxCprPeriods);
}

TEST_F(CaseSlots, CprPeriodReturnsIndexOnlyWhenAsked)
{
    EXPECT_EQ(view.AddCprPeriod(slot, 0, 10, false), 0);
    EXPECT_EQ(view.AddCprPeriod(slot, 0, 10, false), 0);
    EXPECT_EQ(view.AddCprPeriod(slot, 0, 10, true), 2);
    record.cprPeriods.remove(0);
    EXPECT_EQ(view.AddCprPeriod(slot, 0, 10, true), 0);
}

TEST_F(CaseSlots, FindCprPeriodUsesStrictBoundsAndTheLastMatch)
{
    view.AddCprPeriod(slot, 100, 200, false); // slot 0
    view.AddCprPeriod(slot, 150, 300, false); // slot 1
    view.AddCprPeriod(slot, 120, 400, false); // slot 2, emptied below
    record.cprPeriods.remove(2);

    struct Case { int32_t timeMs; int expected; };
    const Case cases[] = {
        {100, MaxCprPeriods}, {101, 0}, {150, 0}, {151, 1}, {199, 1}, {200, 1}, {299, 1}, {300, MaxCprPeriods},
        {350, MaxCprPeriods},
    };
    for (const auto &c : cases)
        EXPECT_EQ(view.FindCprPeriod(slot, c.timeMs), c.expected) << c.timeMs;
}

TEST_F(CaseSlots, FullSegmentTableShowsItsMessage)
{
    for (int i = 0; i < MaxSegments; ++i)
        view.AddSegment(slot, i, i + 1);
    view.AddSegment(slot, 0, 1);
    view.AddSegment(slot, 0, 1);
    EXPECT_EQ(platform.texts(), QStringList({"Can't select any more segment.", "Can't select any more segment."}));
    EXPECT_EQ(record.segments.count(), MaxSegments);
}

TEST_F(CaseSlots, ClosedSlotIsReusedFirst)
{
    view.state.currentFolder = QStringLiteral("/cases/");
    view.state.currentArchiveName = QStringLiteral("b.aed");
    const int second = view.AllocateCaseSlot();
    const int third = view.AllocateCaseSlot();
    ASSERT_EQ(std::vector<int>({slot, second, third}), std::vector<int>({0, 1, 2}));

    view.hasAudio[0] = true;
    view.audioStartMs[0] = 1234;
    view.viewedFlags[0] = true;
    view.shockCounts[0] = 3;
    view.tempLoaded[0] = 1;
    view.FreeCase(0);
    EXPECT_FALSE(view.slotUsed[0]);
    EXPECT_EQ(view.cases[0], nullptr);
    EXPECT_EQ(view.fileSets[0], nullptr);
    EXPECT_EQ(view.caseAt(0), nullptr);

    view.state.currentArchiveName = QStringLiteral("d.aed");
    EXPECT_EQ(view.nextCaseSlot(), 0);
    EXPECT_EQ(view.AllocateCaseSlot(), 0);
    EXPECT_EQ(view.slotCount, 3);
    EXPECT_TRUE(view.slotUsed[0]);
    EXPECT_TRUE(view.fileSetMade[0]);
    EXPECT_NE(view.fileSets[0], nullptr);
    EXPECT_EQ(view.caseAt(0)->events.count(), 0);
    EXPECT_EQ(view.sourcePaths[0], "/cases/d.aed");
    EXPECT_EQ(view.sourcePaths[1], "/cases/b.aed");
    // The new case starts its own counts; the loading flows set the rest.
    EXPECT_EQ(view.shockCounts[0], 0);
    EXPECT_EQ(view.tempLoaded[0], 0);
    EXPECT_TRUE(view.hasAudio[0]);
    EXPECT_EQ(view.audioStartMs[0], 1234);
    EXPECT_TRUE(view.viewedFlags[0]);

    // A new slot at the end starts fully cleared.
    const int fourth = view.AllocateCaseSlot();
    EXPECT_EQ(fourth, 3);
    EXPECT_FALSE(view.hasAudio[3]);
    EXPECT_FALSE(view.viewedFlags[3]);
    EXPECT_EQ(view.audioDurationSec[3], 0);
}

TEST_F(CaseSlots, TempFilePresentIsSetBeforeTheSlotExists)
{
    view.setTempFilePresent(view.nextCaseSlot(), 1);
    const int next = view.AllocateCaseSlot();
    EXPECT_EQ(next, 1);
    EXPECT_EQ(view.tempFilePresentOf(next), 1);
    EXPECT_EQ(view.tempFilePresentOf(0), 0);
    EXPECT_EQ(view.tempFilePresentOf(57), 0);
}

TEST_F(CaseSlots, FreeAllCasesStartsAgainFromSlotZero)
{
    view.AllocateCaseSlot();
    view.AddEvent(slot, 5, QStringLiteral("x"), QString());
    view.FreeAllCases();
    EXPECT_EQ(view.slotCount, 0);
    EXPECT_TRUE(view.cases.empty());
    EXPECT_TRUE(view.slotUsed.empty());
    EXPECT_TRUE(view.sourcePaths.empty());
    EXPECT_EQ(view.caseAt(0), nullptr);
    EXPECT_EQ(view.AllocateCaseSlot(), 0);
    EXPECT_EQ(view.slotCount, 1);
}

TEST_F(CaseSlots, OperationsOnAClosedSlotChangeNothing)
{
    view.FreeCase(slot);
    view.AddEvent(slot, 1, QStringLiteral("x"), QString());
    view.AddSegment(slot, 1, 2);
    EXPECT_EQ(view.AddCprPeriod(slot, 1, 2, true), -1);
    EXPECT_EQ(view.FindCprPeriod(slot, 1), MaxCprPeriods);
    EXPECT_EQ(view.FindCprPeriod(99, 1), MaxCprPeriods);
    EXPECT_TRUE(platform.messages.isEmpty());
}

} // namespace
