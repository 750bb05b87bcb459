#include "export/CaseCsv.h"

#include "case/CaseRecord.h"
#include "cpr/CprMinuteTable.h"
#include "cpr/CprQuality.h"
#include "export/Anonymity.h"

#include <algorithm>

namespace CaseCsv {

namespace {

QString quoted(const QString &field)
{
    static const QString special = QStringLiteral(",\"\r\n");
    if (std::none_of(field.begin(), field.end(), [](QChar ch) { return special.contains(ch); }))
        return field;
    QString out = field;
    out.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

int64_t floorSeconds(int64_t ms)
{
    return ms / 1000 - (ms % 1000 < 0 ? 1 : 0);
}

} // namespace

QByteArray row(const QStringList &fields)
{
    QStringList out;
    out.reserve(fields.size());
    for (const QString &f : fields)
        out << quoted(f);
    return out.join(QLatin1Char(',')).toUtf8() + "\r\n";
}

QByteArray events(const CaseRecord &c, bool anonymize)
{
    std::vector<const EventItem *> items;
    c.events.forEachUsed([&](int, const EventItem &e) { items.push_back(&e); });
    std::stable_sort(items.begin(), items.end(), [](const EventItem *a, const EventItem *b) { return a->timeMs < b->timeMs; });
    QByteArray out = row({QStringLiteral("time_ms"), QStringLiteral("clock_time"), QStringLiteral("text"),
                          QStringLiteral("detail")});
    for (const EventItem *e : items) {
        if (anonymize) {
            out += row({QString::number(e->timeMs), QString(), Anonymity::eventText(e->text), QString()});
            continue;
        }
        const QString clock = c.startTimeValid
                                  ? (c.startTime + CTimeSpan(floorSeconds(e->timeMs))).Format("%Y-%m-%d %H:%M:%S")
                                  : QString();
        out += row({QString::number(e->timeMs), clock, e->text, e->detail});
    }
    return out;
}

QByteArray compressions(const CaseRecord &c)
{
    QByteArray out = row({QStringLiteral("time_ms"), QStringLiteral("depth"), QStringLiteral("depth_in"),
                          QStringLiteral("depth_cm")});
    for (const CprFeedbackRecord &k : c.cprFeedback) {
        const double inches = depthInches(k.depth);
        out += row({QString::number(k.timeMs), QString::number(k.depth), QString::number(inches, 'f', 2),
                    QString::number(inchesToCm(inches), 'f', 2)});
    }
    return out;
}

QByteArray pauses(const CprQualityResult &result)
{
    QByteArray out = row({QStringLiteral("start_ms"), QStringLiteral("length_ms"), QStringLiteral("kind")});
    for (const CprPause &p : result.pauses)
        out += row({QString::number(p.startMs), QString::number(p.lengthMs), pauseKindName(p.kind)});
    return out;
}

QByteArray minutes(const CprQualityResult &result)
{
    QByteArray out;
    for (const QStringList &fields : cprMinuteTable(result))
        out += row(fields);
    return out;
}

} // namespace CaseCsv
