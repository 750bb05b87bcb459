#include "case/GoToTime.h"

#include "case/CaseRecord.h"

#include <QList>
#include <algorithm>

namespace {

constexpr int64_t SecondsPerDay = 86400;

// A field of digits only; -1 when it is empty, too long or holds anything else.
int64_t digits(QStringView field, qsizetype maxLength)
{
    if (field.isEmpty() || field.size() > maxLength)
        return -1;
    int64_t v = 0;
    for (QChar ch : field) {
        if (ch < u'0' || ch > u'9')
            return -1;
        v = v * 10 + (ch.unicode() - u'0');
    }
    return v;
}

// "A:BB:CC", "A:BB" or "A" as seconds with A unbounded (up to maxFirst), BB and CC two
// digits below 60; fieldsOut tells how many fields there were. -1 when malformed.
int64_t colonFields(QStringView text, int64_t maxFirst, int &fieldsOut)
{
    const QList<QStringView> fields = text.split(u':');
    fieldsOut = int(fields.size());
    if (fields.size() > 3)
        return -1;
    const int64_t first = digits(fields[0], 6);
    if (first < 0 || first > maxFirst)
        return -1;
    int64_t total = first;
    for (qsizetype i = 1; i < fields.size(); ++i) {
        if (fields[i].size() != 2)
            return -1;
        const int64_t v = digits(fields[i], 2);
        if (v < 0 || v >= 60)
            return -1;
        total = total * 60 + v;
    }
    return total;
}

} // namespace

GoToRequest parseGoToRequest(QStringView text)
{
    using K = GoToRequest::Kind;
    const QStringView t = text.trimmed();
    if (t.isEmpty())
        return {};
    int fields = 0;
    if (t.startsWith(u'+')) {
        const int64_t s = colonFields(t.mid(1), 999999, fields);
        return s < 0 ? GoToRequest{} : GoToRequest{K::Elapsed, s};
    }
    if (!t.contains(u':')) {
        const int64_t n = digits(t, 6);
        return n <= 0 ? GoToRequest{} : GoToRequest{K::EventNumber, n};
    }
    const int64_t s = colonFields(t, 23, fields);
    if (s < 0)
        return {};
    // "HH:MM" names a minute of the day.
    return {K::ClockTime, fields == 2 ? s * 60 : s};
}

GoToTarget resolveGoToRequest(const GoToRequest &request, bool startTimeValid, CTime startTime, int64_t endSeconds,
                              const std::vector<int64_t> &eventTimes)
{
    using O = GoToTarget::Outcome;
    const int64_t end = std::max<int64_t>(0, endSeconds);
    const auto inCase = [end](int64_t s) { return s >= 0 && s <= end ? GoToTarget{O::Found, s} : GoToTarget{O::OutsideCase, 0}; };
    switch (request.kind) {
    case GoToRequest::Kind::Invalid:
        return {};
    case GoToRequest::Kind::Elapsed:
        return inCase(request.value);
    case GoToRequest::Kind::EventNumber:
        if (request.value < 1 || request.value > int64_t(eventTimes.size()))
            return {O::NoSuchEvent, 0};
        return {O::Found, std::clamp<int64_t>(eventTimes[size_t(request.value - 1)], 0, end)};
    case GoToRequest::Kind::ClockTime: {
        if (!startTimeValid)
            return inCase(request.value);
        const CalendarFields clock = DeviceClockFields(startTime);
        const int64_t startOfDay = clock.hour * 3600 + clock.minute * 60 + clock.second;
        int64_t s = ((request.value - startOfDay) % SecondsPerDay + SecondsPerDay) % SecondsPerDay;
        return inCase(s);
    }
    }
    return {};
}

std::vector<int> eventSlotsInOrder(const CaseRecord &c)
{
    std::vector<int> order;
    order.reserve(size_t(c.events.usedCount()));
    c.events.forEachUsed([&](int i, const EventItem &) { order.push_back(i); });
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return c.events[a].timeMs < c.events[b].timeMs; });
    return order;
}

std::vector<int64_t> eventTimesInOrder(const CaseRecord &c)
{
    std::vector<int64_t> out;
    for (int i : eventSlotsInOrder(c))
        out.push_back(c.events[i].elapsed.GetTotalSeconds());
    return out;
}

QString elapsedText(int64_t seconds)
{
    const int64_t s = std::max<int64_t>(0, seconds);
    return QStringLiteral("+%1:%2:%3")
        .arg(s / 3600)
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}
