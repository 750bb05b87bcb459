#include "ecg/EventMarkers.h"

#include <algorithm>

int eventLabelRow(int visitIndex)
{
    static constexpr int Cycle[] = {1, 8, 2, 7, 3, 6};
    return Cycle[visitIndex % 6];
}

std::vector<int> eventVisitOrder(const EventTable &events, EnlargedView view)
{
    std::vector<int> order;
    order.reserve(size_t(events.usedCount()));
    events.forEachUsed([&](int i, const EventItem &) { order.push_back(i); });
    if (view == EnlargedView::EightSecond)
        std::stable_sort(order.begin(), order.end(),
                         [&](int l, int r) { return events[l].timeMs < events[r].timeMs; });
    return order;
}

std::optional<int> enlargedMarkerX(int32_t t, int32_t rangeStart, int32_t rangeEnd, const EnlargedGeometry &g)
{
    if (t < rangeStart || t > rangeEnd)
        return std::nullopt;
    return int(double(int64_t(t) - rangeStart) * g.p / g.scale.cellMs);
}

std::optional<std::pair<int, int>> entireMarkerPlace(int32_t t, const std::array<int32_t, 5> &rowStart,
                                                     const std::array<int32_t, 5> &rowEnd, int v)
{
    if (t < rowStart[0])
        return std::nullopt;
    for (int k = 0; k < 5; ++k) {
        if (rowEnd[size_t(k)] >= t)
            return std::make_pair(k, int(50 + (int64_t(t) - rowStart[size_t(k)]) * v / 1000));
    }
    return std::nullopt;
}
