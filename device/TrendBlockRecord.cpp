#include "device/TrendBlockRecord.h"

#include <QtEndian>
#include <limits>

namespace {
template <typename T>
T at(const char *block, int offset)
{
    return qFromLittleEndian<T>(block + offset);
}
} // namespace

TrendBlockRecord TrendBlockRecord::read(const char *block)
{
    TrendBlockRecord r;
    for (int e = 0; e < int(r.events.size()); ++e) {
        r.events[size_t(e)].code = at<int32_t>(block, 8 * e);
        r.events[size_t(e)].timeMs = at<int32_t>(block, 8 * e + 4);
    }
    for (int d = 0; d < int(r.pads.size()); ++d) {
        const int base = 800 + 12 * d;
        r.pads[size_t(d)] = {at<uint32_t>(block, base), at<uint32_t>(block, base + 4), at<uint32_t>(block, base + 8)};
    }
    r.powerOffMs = at<uint32_t>(block, 1400);
    r.mode = at<int32_t>(block, 1404);
    r.shockMs = at<int32_t>(block, 1412);
    r.impedanceOhm = at<int32_t>(block, 1424);
    r.energyTenthsJ = at<uint32_t>(block, 2664);
    return r;
}

int32_t TrendBlockRecord::powerOffTime() const
{
    const bool present = powerOffMs >= 1 && powerOffMs <= uint32_t(std::numeric_limits<int32_t>::max());
    return present ? int32_t(powerOffMs) : 0;
}
