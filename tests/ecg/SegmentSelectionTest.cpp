// Selecting and deselecting ECG segments, and which segment items the menu drops.
#include "EcgCaseFixture.h"
#include "base/CommandIds.h"
#include "ecg/SegmentSelection.h"

#include <gtest/gtest.h>

namespace {

using Segment = std::pair<int32_t, int32_t>;

class Segments : public ::testing::Test
{
protected:
    EcgCaseFixture f;
    int slot = f.flatCase(60);

    CaseRecord &record() { return *f.view.store.caseAt(slot); }
    std::vector<Segment> segments()
    {
        std::vector<Segment> out;
        record().segments.forEachUsed([&](int, const EcgSegment &s) { out.emplace_back(s.startMs, s.endMs); });
        return out;
    }
    // The 8-second window around 10 s.
    void selectWindow() { SegmentSelection::select(f.view.store, slot, 6000, 14000); }
};

TEST_F(Segments, SelectMergesWhatTheWindowTouches)
{
    struct Case
    {
        const char *what;
        std::vector<Segment> before;
        std::vector<Segment> after;
    };
    const Case cases[] = {
        {"none", {}, {{6000, 14000}}},
        {"a large-view segment ending inside", {{4000, 7000}}, {{4000, 14000}}},
        {"a segment ending at the window start", {{2000, 6000}}, {{2000, 14000}}},
        {"one on each side", {{5000, 7000}, {13000, 15000}}, {{5000, 15000}}},
        {"one containing the window stays", {{1000, 20000}}, {{1000, 20000}, {6000, 14000}}},
        {"one elsewhere stays", {{20000, 22000}}, {{20000, 22000}, {6000, 14000}}},
    };
    for (const Case &c : cases) {
        record().segments.clear();
        for (const Segment &s : c.before)
            f.view.store.AddSegment(slot, s.first, s.second);
        selectWindow();
        std::vector<Segment> got = segments();
        std::vector<Segment> expected = c.after;
        std::sort(got.begin(), got.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(got, expected) << c.what;
    }
}

TEST_F(Segments, FullTableLosesTheMergedSegments)
{
    f.view.store.AddSegment(slot, 5000, 7000);
    for (int i = 1; i < MaxSegments; ++i)
        f.view.store.AddSegment(slot, 100000 + i * 10, 100000 + i * 10 + 5);
    // Freeing one slot does not help: the table has handed out all 200.
    selectWindow();
    EXPECT_EQ(f.platform.texts(), QStringList{"Can't select any more segment."});
    EXPECT_FALSE(record().segments.isUsed(0));
    EXPECT_EQ(record().segments.usedCount(), MaxSegments - 1);
}

TEST_F(Segments, HitTestDeselectAndDeselectAll)
{
    f.view.store.AddSegment(slot, 1000, 3000);
    f.view.store.AddSegment(slot, 2000, 5000);
    EXPECT_EQ(SegmentSelection::hitTest(record(), 1000), 0);
    EXPECT_EQ(SegmentSelection::hitTest(record(), 3000), 1);
    EXPECT_EQ(SegmentSelection::hitTest(record(), 5000), 1);
    EXPECT_EQ(SegmentSelection::hitTest(record(), 5001), -1);

    SegmentSelection::deselect(record(), 1);
    EXPECT_EQ(segments(), std::vector<Segment>{Segment(1000, 3000)});
    SegmentSelection::deselect(record(), 1); // already free
    SegmentSelection::deselectAll(record());
    EXPECT_TRUE(segments().empty());
    EXPECT_EQ(record().segments.count(), 2);
}

TEST(SegmentMenu, ItemsRemovedForTheMousePosition)
{
    using namespace CommandId;
    using SegmentSelection::commandsToRemove;
    EXPECT_EQ(commandsToRemove(true, true, 3), QList<int>{SelectSegment});
    EXPECT_EQ(commandsToRemove(true, false, 3), QList<int>{SelectSegment});
    EXPECT_EQ(commandsToRemove(false, true, 3), (QList<int>{DeselectAllSegment, DeselectSegment, PrintAllSegment}));
    EXPECT_EQ(commandsToRemove(false, false, 3), QList<int>{DeselectSegment});
    EXPECT_EQ(commandsToRemove(false, false, 0), (QList<int>{DeselectAllSegment, DeselectSegment, PrintAllSegment}));
}

} // namespace
