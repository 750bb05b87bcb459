#include "case/CaseViewFixture.h"

#include <gtest/gtest.h>

namespace {

class CaseSlots : public ::testing::Test, public CaseViewFixture
{
protected:
    int slot = view.store.AllocateCaseSlot(QString());
    CaseRecord &record = *view.store.caseAt(slot);
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
        view.store.AddEvent(slot, i, QStringLiteral("e"), QString());
    ASSERT_EQ(record.events.count(), MaxEvents);
    EXPECT_TRUE(platform.messages.isEmpty());

    view.store.AddEvent(slot, 1, QStringLiteral("one too many"), QString());
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0].text, "Can't add any more annotation.");
    EXPECT_EQ(platform.messages[0].caption, "Lumeron AED Event review software");
    EXPECT_EQ(platform.messages[0].icon, Platform::Icon::Stop);
    EXPECT_EQ(platform.messages[0].buttons, Platform::Buttons::Ok);

    // Once reported, the case takes no more events, even into a freed slot.
    record.events.remove(10);
    view.store.AddEvent(slot, 2, QStringLiteral("after"), QString());
    EXPECT_EQ(platform.messages.size(), 1);
    EXPECT_FALSE(record.events.isUsed(10));
    EXPECT_EQ(record.events.count(), MaxEvents);

    // Another case has its own limit.
    const int other = view.store.AllocateCaseSlot(QString());
    view.store.AddEvent(other, 0, QStringLiteral("x"), QString());
    EXPECT_EQ(view.store.caseAt(other)->events.count(), 1);
}

TEST_F(CaseSlots, EmptiedEventSlotsAreReusedLowestFirst)
{
    for (int i = 0; i < 4; ++i)
        view.store.AddEvent(slot, i * 1000, QStringLiteral("e%1").arg(i), QString());
    record.events.remove(2);
    record.events.remove(1);

    view.store.AddEvent(slot, 9000, QStringLiteral("first"), QStringLiteral("body"));
    view.store.AddEvent(slot, 9500, QStringLiteral("second"), QString());
    view.store.AddEvent(slot, 9900, QStringLiteral("third"), QString());

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
        view.store.AddEvent(slot, c.timeMs, QString(), QString());
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
        EXPECT_EQ(view.store.AddCprPeriod(slot, 1000 * i, 1000 * i + 500, true), i);
    record.cprPeriods.remove(5);

    // Asked for the index, a refusal is told apart from slot 0.
    EXPECT_EQ(view.store.AddCprPeriod(slot, 10, 20, true), -1);
    EXPECT_EQ(view.store.AddCprPeriod(slot, 10, 20, false), 0);
    EXPECT_EQ(platform.texts(), QStringList({"Can't add any more CPR Periods.", "Can't add any more CPR Periods."}));
    EXPECT_EQ(platform.messages[0].caption, "Lumeron AED Event review software");
    EXPECT_EQ(record.cprPeriods.usedCount(), MaxCprPeriods - 1);

    // A full table finds nothing, even a time inside a used period.
    EXPECT_EQ(view.store.FindCprPeriod(slot, 250), MaxCprPeriods);
    EXPECT_EQ(view.store.FindCprPeriod(slot, 7250), MaxCprPeriods);
}

TEST_F(CaseSlots, CprPeriodReturnsIndexOnlyWhenAsked)
{
    EXPECT_EQ(view.store.AddCprPeriod(slot, 0, 10, false), 0);
    EXPECT_EQ(view.store.AddCprPeriod(slot, 0, 10, false), 0);
    EXPECT_EQ(view.store.AddCprPeriod(slot, 0, 10, true), 2);
    record.cprPeriods.remove(0);
    EXPECT_EQ(view.store.AddCprPeriod(slot, 0, 10, true), 0);
}

TEST_F(CaseSlots, FindCprPeriodUsesStrictBoundsAndTheLastMatch)
{
    view.store.AddCprPeriod(slot, 100, 200, false); // slot 0
    view.store.AddCprPeriod(slot, 150, 300, false); // slot 1
    view.store.AddCprPeriod(slot, 120, 400, false); // slot 2, emptied below
    record.cprPeriods.remove(2);

    struct Case { int32_t timeMs; int expected; };
    const Case cases[] = {
        {100, MaxCprPeriods}, {101, 0}, {150, 0}, {151, 1}, {199, 1}, {200, 1}, {299, 1}, {300, MaxCprPeriods},
        {350, MaxCprPeriods},
    };
    for (const auto &c : cases)
        EXPECT_EQ(view.store.FindCprPeriod(slot, c.timeMs), c.expected) << c.timeMs;
}

TEST_F(CaseSlots, FullSegmentTableShowsItsMessage)
{
    for (int i = 0; i < MaxSegments; ++i)
        view.store.AddSegment(slot, i, i + 1);
    view.store.AddSegment(slot, 0, 1);
    view.store.AddSegment(slot, 0, 1);
    EXPECT_EQ(platform.texts(), QStringList({"Can't select any more segment.", "Can't select any more segment."}));
    EXPECT_EQ(record.segments.count(), MaxSegments);
}

TEST_F(CaseSlots, ClosedSlotIsReusedFirst)
{
    const int second = view.store.AllocateCaseSlot("/cases/b.aed");
    const int third = view.store.AllocateCaseSlot("/cases/b.aed");
    ASSERT_EQ(std::vector<int>({slot, second, third}), std::vector<int>({0, 1, 2}));

    view.store.at(0).hasAudio = true;
    view.store.at(0).audioStartMs = 1234;
    view.store.at(0).viewed = true;
    view.store.at(0).shockCount = 3;
    view.store.at(0).tempLoaded = 1;
    view.store.FreeCase(0);
    EXPECT_FALSE(view.store.at(0).used);
    EXPECT_EQ(view.store.at(0).record, nullptr);
    EXPECT_EQ(view.store.at(0).fileSet, nullptr);
    EXPECT_EQ(view.store.caseAt(0), nullptr);

    EXPECT_EQ(view.store.nextCaseSlot(), 0);
    EXPECT_EQ(view.store.AllocateCaseSlot("/cases/d.aed"), 0);
    EXPECT_EQ(view.store.slotCount(), 3);
    EXPECT_TRUE(view.store.at(0).used);
    EXPECT_TRUE(view.store.at(0).fileSetMade);
    EXPECT_NE(view.store.at(0).fileSet, nullptr);
    EXPECT_EQ(view.store.caseAt(0)->events.count(), 0);
    EXPECT_EQ(view.store.at(0).sourcePath, "/cases/d.aed");
    EXPECT_EQ(view.store.at(1).sourcePath, "/cases/b.aed");
    // The new case starts its own counts; the loading flows set the rest.
    EXPECT_EQ(view.store.at(0).shockCount, 0);
    EXPECT_EQ(view.store.at(0).tempLoaded, 0);
    EXPECT_TRUE(view.store.at(0).hasAudio);
    EXPECT_EQ(view.store.at(0).audioStartMs, 1234);
    EXPECT_TRUE(view.store.at(0).viewed);

    // A new slot at the end starts fully cleared.
    const int fourth = view.store.AllocateCaseSlot(QString());
    EXPECT_EQ(fourth, 3);
    EXPECT_FALSE(view.store.at(3).hasAudio);
    EXPECT_FALSE(view.store.at(3).viewed);
    EXPECT_EQ(view.store.at(3).audioDurationSec, 0);
}

TEST_F(CaseSlots, TempFilePresentIsSetBeforeTheSlotExists)
{
    view.store.setTempFilePresent(view.store.nextCaseSlot(), 1);
    const int next = view.store.AllocateCaseSlot(QString());
    EXPECT_EQ(next, 1);
    EXPECT_EQ(view.store.tempFilePresentOf(next), 1);
    EXPECT_EQ(view.store.tempFilePresentOf(0), 0);
    EXPECT_EQ(view.store.tempFilePresentOf(57), 0);
}

TEST_F(CaseSlots, FreeAllCasesStartsAgainFromSlotZero)
{
    view.store.AllocateCaseSlot(QString());
    view.store.AddEvent(slot, 5, QStringLiteral("x"), QString());
    view.store.FreeAllCases();
    EXPECT_EQ(view.store.slotCount(), 0);
    EXPECT_FALSE(view.store.at(0).used);
    EXPECT_EQ(view.store.at(0).record, nullptr);
    EXPECT_TRUE(view.store.at(0).sourcePath.isEmpty());
    EXPECT_EQ(view.store.caseAt(0), nullptr);
    EXPECT_EQ(view.store.AllocateCaseSlot(QString()), 0);
    EXPECT_EQ(view.store.slotCount(), 1);
}

TEST_F(CaseSlots, OperationsOnAClosedSlotChangeNothing)
{
    view.store.FreeCase(slot);
    view.store.AddEvent(slot, 1, QStringLiteral("x"), QString());
    view.store.AddSegment(slot, 1, 2);
    EXPECT_EQ(view.store.AddCprPeriod(slot, 1, 2, true), -1);
    EXPECT_EQ(view.store.FindCprPeriod(slot, 1), MaxCprPeriods);
    EXPECT_EQ(view.store.FindCprPeriod(99, 1), MaxCprPeriods);
    EXPECT_TRUE(platform.messages.isEmpty());
}

} // namespace
