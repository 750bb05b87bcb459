#include "tools/CprQualityText.h"

#include "cpr/CprQuality.h"
#include "tools/OrderedJson.h"

#include <QLocale>

namespace {

QString shocks(const CprQualityResult &r)
{
    QStringList out;
    for (const CprShockPauses &s : r.shocks) {
        OrderedJsonObject o;
        o.number("timeMs", s.timeMs);
        o.integer("preShockPauseMs", s.preShockPauseMs);
        o.integer("postShockPauseMs", s.postShockPauseMs);
        out << o.toInlineJson();
    }
    return jsonArray(out);
}

QString pauses(const CprQualityResult &r)
{
    QStringList out;
    for (const CprPause &p : r.pauses) {
        OrderedJsonObject o;
        o.number("startMs", p.startMs);
        o.number("lengthMs", p.lengthMs);
        o.text("kind", pauseKindName(p.kind));
        out << o.toInlineJson();
    }
    return jsonArray(out);
}

QString minutes(const CprQualityResult &r)
{
    QStringList out;
    for (const CprMinute &m : r.perMinute) {
        OrderedJsonObject o;
        o.number("minute", m.minute);
        o.number("compressions", m.compressions);
        o.real("ccf", m.ccf);
        o.real("meanRatePerMin", m.meanRatePerMin);
        o.real("meanDepthIn", m.meanDepthIn);
        out << o.toInlineJson();
    }
    return jsonArray(out);
}

QString csvField(std::optional<double> value)
{
    return value ? QString::number(*value, 'g', QLocale::FloatingPointShortest) : QString();
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
    QString out = QStringLiteral("minute,compressions,ccf,meanRatePerMin,meanDepthIn\n");
    for (const CprMinute &m : r.perMinute)
        out += QStringLiteral("%1,%2,%3,%4,%5\n")
                   .arg(m.minute)
                   .arg(m.compressions)
                   .arg(csvField(m.ccf), csvField(m.meanRatePerMin), csvField(m.meanDepthIn));
    return out;
}
