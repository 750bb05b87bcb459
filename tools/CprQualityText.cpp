#include "tools/CprQualityText.h"

#include "export/CaseCsv.h"

#include "cpr/CprMinuteTable.h"
#include "cpr/CprQuality.h"
#include "cpr/HandsOff.h"
#include "tools/OrderedJson.h"

#include <array>

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

// The member names of the causes, in the order of PauseCause.
constexpr std::array<const char *, PauseCauseCount> CauseKeys = {
    "untilAnalysisMs", "analysisMs", "chargeMs", "toShockMs", "afterShockMs", "afterAnalysisMs",
    "padsMs",          "breathsMs",  "otherMs",  "rhythmCheckMs", "airwayMs", "transportMs"};

// The shocks of both results are the same shocks in the same order.
QString shocks(const CprQualityResult &r, const HandsOffResult &h)
{
    QStringList out;
    for (size_t i = 0; i < r.shocks.size(); ++i) {
        const CprShockPauses &s = r.shocks[i];
        static const HandsOffShock none;
        const HandsOffShock &steps = i < h.shocks.size() ? h.shocks[i] : none;
        OrderedJsonObject o;
        o.number("timeMs", s.timeMs);
        o.integer("preShockPauseMs", s.preShockPauseMs);
        o.integer("postShockPauseMs", s.postShockPauseMs);
        o.integer("analysisMs", steps.analysisMs);
        o.integer("chargeMs", steps.chargeMs);
        o.integer("toShockMs", steps.toShockMs);
        o.integer("periShockPauseMs", steps.periShockPauseMs);
        out << o.toInlineJson();
    }
    return jsonArray(out);
}

QString parts(const std::vector<PausePart> &parts)
{
    QStringList out;
    for (const PausePart &p : parts) {
        OrderedJsonObject o;
        o.text("cause", pauseCauseName(p.cause));
        o.number("startMs", p.startMs);
        o.number("lengthMs", p.lengthMs);
        out << o.toInlineJson();
    }
    return QLatin1Char('[') + out.join(QStringLiteral(", ")) + QLatin1Char(']');
}

// The pauses of both results are the same pauses in the same order.
QString pauses(const CprQualityResult &r, const HandsOffResult &h)
{
    QStringList out;
    for (size_t i = 0; i < r.pauses.size(); ++i) {
        const CprPause &p = r.pauses[i];
        static const HandsOffPause none;
        const HandsOffPause &explained = i < h.pauses.size() ? h.pauses[i] : none;
        OrderedJsonObject o;
        o.number("startMs", p.startMs);
        o.number("lengthMs", p.lengthMs);
        o.text("kind", pauseKindName(p.kind));
        o.add("parts", parts(explained.parts));
        o.flag("setByReviewer", explained.setByReviewer);
        out << o.toInlineJson();
    }
    return jsonArray(out);
}

QString beforeCpr(const BeforeCpr &b)
{
    OrderedJsonObject o;
    o.integer("firstPadsOnMs", b.firstPadsOnMs);
    o.integer("firstAnalysisMs", b.firstAnalysisMs);
    o.integer("firstShockMs", b.firstShockMs);
    o.integer("firstCompressionMs", b.firstCompressionMs);
    return o.toMemberJson();
}

QString handsOffTimes(const HandsOffResult &h)
{
    OrderedJsonObject byCause, share;
    for (size_t k = 0; k < PauseCauseCount; ++k) {
        byCause.number(CauseKeys[k], h.byCauseMs[k]);
        share.real(CauseKeys[k], h.share[k]);
    }
    OrderedJsonObject o;
    o.number("totalMs", h.totalMs);
    o.add("byCause", byCause.toInlineJson());
    o.add("share", share.toInlineJson());
    return o.toMemberJson();
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

QString CprQualityJson(const CprQualityResult &r, const HandsOffResult &h)
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
    o.add("beforeCpr", beforeCpr(h.beforeCpr));
    o.add("handsOff", handsOffTimes(h));
    o.add("shocks", shocks(r, h));
    o.add("pauses", pauses(r, h));
    o.add("perMinute", minutes(r));
    return o.toJson();
}

QString CprTableCsv(const std::vector<QStringList> &table)
{
    QString out;
    for (const QStringList &row : table)
        out += QString::fromUtf8(CaseCsv::row(row).chopped(2)) + QLatin1Char('\n');
    return out;
}

QString CprMinutesCsv(const CprQualityResult &r, CprDepthUnit unit)
{
    return CprTableCsv(cprMinuteTable(r, unit));
}
