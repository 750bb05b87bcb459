#include "tools/CprQualityText.h"

#include "cpr/CprMinuteTable.h"
#include "cpr/CprQuality.h"
#include "tools/OrderedJson.h"

namespace {

// One object a line, its members written by add(object, item).
template <typename Item, typename Add>
QString arrayOf(const std::vector<Item> &items, Add add)
{
    QStringList out;
    for (const Item &item : items) {
        OrderedJsonObject o;
        add(o, item);
        out << o.toInlineJson();
    }
    return jsonArray(out);
}

QString shocks(const CprQualityResult &r)
{
    return arrayOf(r.shocks, [](OrderedJsonObject &o, const CprShockPauses &s) {
        o.number("timeMs", s.timeMs);
        o.integer("preShockPauseMs", s.preShockPauseMs);
        o.integer("postShockPauseMs", s.postShockPauseMs);
    });
}

QString pauses(const CprQualityResult &r)
{
    return arrayOf(r.pauses, [](OrderedJsonObject &o, const CprPause &p) {
        o.number("startMs", p.startMs);
        o.number("lengthMs", p.lengthMs);
        o.text("kind", pauseKindName(p.kind));
    });
}

QString minutes(const CprQualityResult &r)
{
    return arrayOf(r.perMinute, [](OrderedJsonObject &o, const CprMinute &m) {
        o.number("minute", m.minute);
        o.number("compressions", m.compressions);
        o.real("ccf", m.ccf);
        o.real("meanRatePerMin", m.meanRatePerMin);
        o.real("meanDepthIn", m.meanDepthIn);
    });
}

} // namespace

QString CprQualityJson(const CprQualityResult &r)
{
    OrderedJsonObject o;
    o.number("compressionCount", r.compressionCount);
    o.number("pauseThresholdMs", r.pauseThresholdMs);
    o.integer("firstCompressionMs", r.firstCompressionMs);
    o.integer("lastCompressionMs", r.lastCompressionMs);
    o.number("compressionTimeMs", r.compressionTimeMs);
    o.real("ccf", r.ccf);
    o.real("meanRatePerMin", r.meanRatePerMin);
    o.real("rateInTarget", r.rateInTarget);
    o.real("meanDepthIn", r.meanDepthIn);
    o.real("meanDepthCm", r.meanDepthCm);
    o.real("depthInTarget", r.depthInTarget);
    o.real("depthShallow", r.depthShallow);
    o.real("depthDeep", r.depthDeep);
    o.integer("timeToFirstCompressionMs", r.timeToFirstCompressionMs);
    o.integer("timeToFirstAnalysisMs", r.timeToFirstAnalysisMs);
    o.integer("timeToFirstShockMs", r.timeToFirstShockMs);
    o.integer("longestPauseMs", r.longestPauseMs);
    o.number("pausesOver10s", r.pausesOver10s);
    o.add("shocks", shocks(r));
    o.add("pauses", pauses(r));
    o.add("perMinute", minutes(r));
    return o.toJson();
}

QString CprMinutesCsv(const CprQualityResult &r)
{
    QString out;
    for (const QStringList &row : cprMinuteTable(r))
        out += row.join(QLatin1Char(',')) + QLatin1Char('\n');
    return out;
}
