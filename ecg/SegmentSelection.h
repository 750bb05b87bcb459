#pragma once

#include <QList>
#include <cstdint>

class CaseStore;
struct CaseRecord;

// ECG segments chosen for printing in the enlarged ECG: hit test, Select (merging what
// the window touches), Deselect and Deselect All, and which segment items the context
// menu drops. Times are case ms.
namespace SegmentSelection {

// The last used segment (slot order) with startMs <= t <= endMs, or -1.
int hitTest(const CaseRecord &c, int32_t t);

// Replaces every used segment with startMs or endMs inside [lo, hi] (bounds included) by
// one segment from the smallest start to the largest end, the window included. A full
// table shows its message; the overlapping segments are gone by then.
void select(CaseStore &store, int slot, int32_t lo, int32_t hi);
// Frees one segment slot (a free slot is left alone); the table's count stays.
void deselect(CaseRecord &c, int segmentSlot);
void deselectAll(CaseRecord &c);

// Command identifiers the enlarged ECG's context menu removes: with the mouse over a
// segment "Select Segment"; elsewhere in the large view the three deselect / print
// items; elsewhere in the other views "Deselect Segment", or all three when the case
// never had a segment (segmentCount 0).
QList<int> commandsToRemove(bool overSegment, bool largeView, int segmentCount);

} // namespace SegmentSelection
