#include "tools/CaseInfoJson.h"

#include "archive/AedArchive.h"
#include "case/CaseStore.h"
#include "tools/OrderedJson.h"

#include <QStringList>

namespace {

QString annotations(const CaseRecord &c)
{
    QStringList out;
    c.events.forEachUsed([&](int, const EventItem &e) {
        if (e.text.startsWith(AedArchive::annotationPrefix()))
            out << QStringLiteral("{\"timeMs\": %1, \"title\": %2, \"body\": %3}")
                       .arg(e.timeMs)
                       .arg(jsonQuoted(e.text), jsonQuoted(e.detail));
    });
    return jsonArray(out);
}

QString cprPeriods(const CaseRecord &c)
{
    QStringList out;
    c.cprPeriods.forEachUsed([&](int, const CprPeriod &p) { out << QStringLiteral("[%1, %2]").arg(p.startMs).arg(p.endMs); });
    return jsonArray(out);
}

} // namespace

QString CaseInfoJson(const CaseStore &store, int slot)
{
    const CaseRecord *c = store.caseAt(slot);
    if (!c)
        return QStringLiteral("{}\n");
    const OpenCase &entry = *store.find(slot);
    const CC8Class &files = *entry.fileSet;

    OrderedJsonObject o;
    o.number("startTime", c->startTime.GetTime());
    o.flag("startTimeValid", c->startTimeValid);
    o.number("timeZoneIndex", c->timeZoneIndex);
    o.text("serialNumber", c->serialNumber);
    o.text("comments", c->comments);
    o.text("operatorName", c->operatorName);
    o.text("extraText1", c->extraText1);
    o.text("extraText2", c->extraText2);
    o.text("patientId", c->patientId);
    o.text("lastName", c->lastName);
    o.text("firstName", c->firstName);
    o.text("middleInitial", c->middleInitial);
    o.number("nameSuffixIndex", c->nameSuffixIndex);
    o.number("sexIndex", c->sexIndex);
    o.number("raceIndex", c->raceIndex);
    o.number("birthDate", c->birthDate.GetTime());
    o.flag("birthDateKnown", c->birthDateKnown);
    o.flag("birthDateUnknown", c->birthDateUnknown);
    o.text("heightText", c->heightText);
    o.number("heightUnitIndex", c->heightUnitIndex);
    o.text("weightText", c->weightText);
    o.number("weightUnitIndex", c->weightUnitIndex);
    o.number("savedAnnotationCount", c->savedAnnotationCount);
    o.add("annotations", annotations(*c));
    o.number("ctSize", files.ctSize());
    o.number("ecgSize", files.ecgSize());
    o.number("hrSize", files.hrSize());
    o.number("trendSize", files.trendSize());
    o.number("tempSize", files.tempSize());
    o.number("tempLoaded", entry.tempLoaded);
    o.number("tempFilePresent", store.tempFilePresentOf(slot));
    o.number("trendBlockCount", files.GetTrendBlockCount());
    o.number("ecgStartMs", c->ecgStartMs);
    o.number("ecgEndMs", c->ecgEndMs);
    o.number("hrCount", c->hrCount);
    o.number("tempCount", c->tempCount);
    o.number("shockCount", entry.shockCount);
    o.add("cprPeriods", cprPeriods(*c));
    o.number("eventCount", c->events.usedCount());
    o.flag("hasCprFeedback", entry.hasCprFeedback);
    o.number("cprFeedbackCount", c->cprFeedbackCount);
    o.flag("hasAudio", entry.hasAudio);
    o.number("audioStartMs", entry.audioStartMs);
    o.number("audioDurationSec", entry.audioDurationSec);
    o.text("recordingId", entry.recordingId);
    return o.toJson();
}
