#pragma once

#include "case/CaseRecord.h"
#include "ecg/EcgGeometry.h"

#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// Event and temperature markers: where they go and which label row an event text uses.

// Label row (in grid rows) of the event visited i-th in a drawing run, i from 0: the
// rows cycle 1, 8, 2, 7, 3, 6. Every visited event advances the cycle, shown or not, so
// an event keeps its row while the window scrolls.
int eventLabelRow(int visitIndex);

// Used event slots in the order a view visits them: ascending time in the 8-second view
// (equal times keep their table order), table order in the other views.
std::vector<int> eventVisitOrder(const EventTable &events, EnlargedView view);

// Strip x of a marker at case time t in the strip range [rangeStart, rangeEnd] (both
// included), int((t - rangeStart) * p / cell); nothing outside the range.
std::optional<int> enlargedMarkerX(int32_t t, int32_t rangeStart, int32_t rangeEnd, const EnlargedGeometry &g);

// Entire ECG: the row (0..4) and x of an event marker. The row is the first whose end is
// at or after t, so an event on a row boundary sits at the right end of the upper row;
// nothing before row 1's start or after row 5's end.
std::optional<std::pair<int, int>> entireMarkerPlace(int32_t t, const std::array<int32_t, 5> &rowStart,
                                                     const std::array<int32_t, 5> &rowEnd, int v);
