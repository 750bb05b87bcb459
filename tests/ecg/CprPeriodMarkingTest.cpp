// Marking CPR periods by hand: Start, End, Delete, the hit test and the menu states.
#include "EcgCaseFixture.h"
#include "ecg/CprPeriodMarking.h"

#include <gtest/gtest.h>

namespace {

using Period = std::pair<int32_t, int32_t>;

class CprMarking : public ::testing::Test
{
protected:
    EcgCaseFixture f;
    int slot = f.flatCase(60);
    CprPeriodMarking marking;

    CaseRecord &record() { return *f.view.store.caseAt(slot); }
    std::vector<Period> periods()
    {
        std::vector<Period> out;
        record().cprPeriods.forEachUsed([&](int, const CprPeriod &p) { out.emplace_back(p.startMs, p.endMs); });
        return out;
    }
};

TEST_F(CprMarking, EndAfterOrBeforeTheStart)
{
    struct Case
    {
        int32_t start;
        int32_t end;
        Period expected;
    };
    const Case cases[] = {
        {5300, 5500, {5000, 6000}}, // the whole second after the End click
        {5000, 3000, {2000, 5000}}, // ending before the start: the second before up to the start
        {5000, 2999, {2000, 5000}},
        {5999, 5000, {4000, 5000}}, // ending on the start second itself
        {5000, 9001, {5000, 10000}},
    };
    for (const Case &c : cases) {
        record().cprPeriods.clear();
        marking.Start(f.view.store, slot, c.start, 1000);
        EXPECT_TRUE(marking.m_bCprStartPending);
        marking.End(f.view.store, slot, c.end);
        EXPECT_FALSE(marking.m_bCprStartPending);
        EXPECT_EQ(marking.m_nPendingCpr, 0);
        EXPECT_EQ(periods(), std::vector<Period>{c.expected}) << c.start << " " << c.end;
    }
}

TEST_F(CprMarking, StartAddsAProvisionalPeriodAtTheWholeSecond)
{
    marking.Start(f.view.store, slot, 7654, 200);
    EXPECT_EQ(periods(), std::vector<Period>{Period(7000, 7200)});
    EXPECT_EQ(marking.m_nPendingCpr, 0);
    marking.End(f.view.store, slot, 8100);
    EXPECT_EQ(periods(), std::vector<Period>{Period(7000, 9000)});
}

TEST_F(CprMarking, HitTestIsInclusiveAndTheLaterSlotWins)
{
    f.view.store.AddCprPeriod(slot, 1000, 2000, false);
    f.view.store.AddCprPeriod(slot, 1500, 3000, false);
    EXPECT_TRUE(marking.HitTest(&record(), 1000));
    EXPECT_EQ(marking.m_nHitCpr, 0);
    EXPECT_TRUE(marking.HitTest(&record(), 2000));
    EXPECT_EQ(marking.m_nHitCpr, 1);
    EXPECT_TRUE(marking.HitTest(&record(), 3000));
    EXPECT_EQ(marking.m_nHitCpr, 1);
    EXPECT_FALSE(marking.HitTest(&record(), 3001));
    EXPECT_FALSE(marking.HitTest(&record(), 999));
    EXPECT_FALSE(marking.HitTest(nullptr, 1500));

    record().cprPeriods.remove(1);
    EXPECT_TRUE(marking.HitTest(&record(), 1800));
    EXPECT_EQ(marking.m_nHitCpr, 0);
}

TEST_F(CprMarking, MenuStates)
{
    EXPECT_EQ(marking.menuStates(true), (CprMenuStates{false, false, true}));
    EXPECT_EQ(marking.menuStates(false), (CprMenuStates{true, false, false}));
    marking.m_bCprStartPending = true;
    EXPECT_EQ(marking.menuStates(false), (CprMenuStates{false, true, false}));
    EXPECT_EQ(marking.menuStates(true), (CprMenuStates{false, false, true}));
}

TEST_F(CprMarking, DeleteFreesTheHitSlotAndKeepsTheCount)
{
    f.view.store.AddCprPeriod(slot, 1000, 2000, false);
    f.view.store.AddCprPeriod(slot, 4000, 5000, false);
    ASSERT_TRUE(marking.HitTest(&record(), 1500));
    marking.Delete(f.view.store, slot);
    EXPECT_EQ(periods(), std::vector<Period>{Period(4000, 5000)});
    EXPECT_EQ(record().cprPeriods.count(), 2);
}

TEST_F(CprMarking, ShowToggles)
{
    EXPECT_TRUE(marking.m_bShowCprPeriods);
    marking.Show();
    EXPECT_FALSE(marking.m_bShowCprPeriods);
    marking.Show();
    EXPECT_TRUE(marking.m_bShowCprPeriods);
}

// End changes only the period its Start made, in the case it was made in.
TEST_F(CprMarking, EndLeavesAPeriodThatReplacedADeletedMarkAlone)
{
    marking.Start(f.view.store, slot, 5000, 1000);
    ASSERT_TRUE(marking.HitTest(&record(), 5500));
    marking.Delete(f.view.store, slot);
    // Another window's mark takes the freed slot.
    CprPeriodMarking other;
    other.Start(f.view.store, slot, 20000, 1000);
    ASSERT_EQ(other.m_nPendingCpr, 0);

    marking.End(f.view.store, slot, 30500);
    EXPECT_FALSE(marking.m_bCprStartPending);
    EXPECT_EQ(periods(), std::vector<Period>{Period(20000, 21000)});
}

TEST_F(CprMarking, EndAfterARefusedStartChangesNothing)
{
    for (int i = 0; i < MaxCprPeriods; ++i)
        f.view.store.AddCprPeriod(slot, i * 100, i * 100 + 50, false);
    marking.Start(f.view.store, slot, 5000, 1000);
    EXPECT_TRUE(marking.m_bCprStartPending);
    EXPECT_EQ(marking.m_nPendingCpr, -1);
    EXPECT_EQ(f.platform.texts(), QStringList{"Can't add any more CPR Periods."});
    EXPECT_EQ(marking.menuStates(false), (CprMenuStates{false, true, false}));

    const std::vector<Period> before = periods();
    marking.End(f.view.store, slot, 9000);
    EXPECT_FALSE(marking.m_bCprStartPending);
    EXPECT_EQ(periods(), before);
}

TEST_F(CprMarking, EndInAnotherCaseChangesNothing)
{
    const int second = f.flatCase(60);
    f.view.store.AddCprPeriod(second, 5000, 6000, false);
    marking.Start(f.view.store, slot, 5000, 1000);
    marking.End(f.view.store, second, 9000);
    EXPECT_EQ(periods(), std::vector<Period>{Period(5000, 6000)});
    EXPECT_EQ(f.view.store.caseAt(second)->cprPeriods[0].endMs, 6000);
}

} // namespace

namespace {

TEST_F(CprMarking, ACaseOpenReadOnlyIsNotMarked)
{
    marking.Start(f.view.store, slot, 5000, 1000);
    record().cprPeriods.add(CprPeriod{20000, 30000});
    const std::vector<Period> before = periods();
    // The case turns read-only between Start and End (its lock was lost).
    f.view.store.at(slot).readOnly = true;
    marking.End(f.view.store, slot, 9000);
    marking.Start(f.view.store, slot, 12000, 1000);
    ASSERT_TRUE(marking.HitTest(&record(), 25000));
    marking.Delete(f.view.store, slot);
    EXPECT_EQ(periods(), before);
    for (bool hit : {false, true})
        EXPECT_EQ(marking.menuStates(hit, false), CprMenuStates{}) << hit;
}

} // namespace
