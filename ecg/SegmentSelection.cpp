#include "ecg/SegmentSelection.h"

#include "base/CommandIds.h"
#include "case/CaseStore.h"

#include <algorithm>
#include <vector>

namespace SegmentSelection {

int hitTest(const CaseRecord &c, int32_t t)
{
    int hit = -1;
    c.segments.forEachUsed([&](int i, const EcgSegment &s) {
        if (s.startMs <= t && t <= s.endMs)
            hit = i;
    });
    return hit;
}

void select(CaseStore &store, int slot, int32_t lo, int32_t hi)
{
    CaseRecord *c = store.caseAt(slot);
    if (!c)
        return;
    const int32_t windowLo = lo;
    const int32_t windowHi = hi;
    std::vector<int> merged;
    c->segments.forEachUsed([&](int i, const EcgSegment &s) {
        const bool startInside = windowLo <= s.startMs && s.startMs <= windowHi;
        const bool endInside = windowLo <= s.endMs && s.endMs <= windowHi;
        if (startInside || endInside) {
            lo = std::min(lo, s.startMs);
            hi = std::max(hi, s.endMs);
            merged.push_back(i);
        }
    });
    for (int i : merged)
        c->segments.remove(i);
    store.AddSegment(slot, lo, hi);
}

void deselect(CaseRecord &c, int segmentSlot)
{
    c.segments.remove(segmentSlot);
}

void deselectAll(CaseRecord &c)
{
    for (int i = 0; i < c.segments.count(); ++i)
        c.segments.remove(i);
}

QList<int> commandsToRemove(bool overSegment, bool largeView, int segmentCount)
{
    using namespace CommandId;
    if (overSegment)
        return {SelectSegment};
    if (largeView || segmentCount == 0)
        return {DeselectAllSegment, DeselectSegment, PrintAllSegment};
    return {DeselectSegment};
}

} // namespace SegmentSelection
