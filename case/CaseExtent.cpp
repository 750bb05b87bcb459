#include "case/CaseExtent.h"

#include "case/CaseRecord.h"

#include <algorithm>

int32_t LatestEventTimeMs(const CaseRecord *c)
{
    int32_t latest = 0;
    if (c)
        c->events.forEachUsed([&](int, const EventItem &e) { latest = std::max(latest, e.timeMs); });
    return latest;
}

CTimeSpan CaseEnd(const CaseRecord *c)
{
    bool any = false;
    CTimeSpan end;
    if (c) {
        c->events.forEachUsed([&](int, const EventItem &e) {
            if (!any || e.elapsed >= end)
                end = e.elapsed;
            any = true;
        });
    }
    return end;
}

const EventItem *LatestEvent(const CaseRecord *c)
{
    const EventItem *latest = nullptr;
    if (c) {
        c->events.forEachUsed([&](int, const EventItem &e) {
            if (e.timeMs > 0 && (!latest || e.timeMs > latest->timeMs))
                latest = &e;
        });
    }
    return latest;
}

QString DataDurationText(const CaseRecord *c)
{
    const EventItem *latest = LatestEvent(c);
    const CTimeSpan d = latest ? latest->elapsed : CTimeSpan();
    return QString::asprintf("%02d:%02d:%02d", d.GetHours(), d.GetMinutes(), d.GetSeconds());
}
