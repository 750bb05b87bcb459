#include "export/CaseEdf.h"

#include "base/LanguagePack.h"
#include "case/OpenCase.h"
#include "cpr/CprQuality.h"
#include "export/Anonymity.h"
#include "export/EdfWriter.h"
#include "export/ExportText.h"

#include <algorithm>

namespace CaseEdf {

namespace {

// Raw values are kept within ±10 V, so that the physical limits fit the header's eight
// characters in microvolts; a real ECG never comes near.
constexpr int32_t RawLimit = 1899999;
constexpr int SamplesPerSecond = 250;

int64_t floorDiv(int64_t a, int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

EdfStart startOf(const CaseRecord &c)
{
    EdfStart s;
    if (!c.startTimeValid)
        return s;
    const int64_t ms = c.startTime.GetTime() * 1000 + c.ecgStartMs;
    const CTime t(floorDiv(ms, 1000));
    // The header's two-digit years cover 1985 to 2084; "yy" stands for later ones.
    if (t.GetYear() < 1985)
        return s;
    s.valid = true;
    s.year = t.GetYear();
    s.month = t.GetMonth();
    s.day = t.GetDay();
    s.hour = t.GetHour();
    s.minute = t.GetMinute();
    s.second = t.GetSecond();
    s.milliseconds = int(ms - floorDiv(ms, 1000) * 1000);
    return s;
}

QString birthdateField(const CaseRecord &c)
{
    if (!c.birthDateKnown || c.birthDateUnknown)
        return QStringLiteral("X");
    const CTime &b = c.birthDate;
    return QStringLiteral("%1-%2-%3")
        .arg(b.GetDay(), 2, 10, QLatin1Char('0'))
        .arg(QLatin1String(EdfWriter::monthName(b.GetMonth())))
        .arg(b.GetYear());
}

} // namespace

EdfStoredSamples rawEcgSamples(const OpenCase &openCase)
{
    EdfStoredSamples samples;
    if (!openCase.fileSet)
        return samples;
    samples.bytes = openCase.fileSet->ecgData;
    samples.offset = 4;
    samples.count = std::max<qsizetype>(0, (samples.bytes.size() - 4) / 4);
    samples.lowest = -RawLimit;
    samples.highest = RawLimit;
    return samples;
}

QString headerSubfield(const QString &text)
{
    QString out;
    for (const QChar ch : text.normalized(QString::NormalizationForm_KD)) {
        if (ch.category() == QChar::Mark_NonSpacing)
            continue;
        if (ch == QLatin1Char(' '))
            out += QLatin1Char('_');
        else if (ch.unicode() > 32 && ch.unicode() < 127)
            out += ch;
        else
            out += QLatin1Char('_');
    }
    return out.isEmpty() ? QStringLiteral("X") : out;
}

QString patientField(const CaseRecord &c, bool anonymize)
{
    if (anonymize)
        return QStringLiteral("X X X X");
    const QString sex = c.sexIndex == 1 ? QStringLiteral("M") : c.sexIndex == 2 ? QStringLiteral("F") : QStringLiteral("X");
    QStringList name;
    for (const QString &part : {c.lastName, c.firstName, c.middleInitial})
        if (!part.trimmed().isEmpty())
            name << part.trimmed();
    return QStringList{headerSubfield(c.patientId.trimmed()), sex, birthdateField(c), headerSubfield(name.join(' '))}
        .join(QLatin1Char(' '));
}

bool compressionInsideEcg(const CaseRecord &c, int32_t timeMs)
{
    return timeMs >= c.ecgStartMs && timeMs < c.ecgEndMs;
}

qsizetype compressionsOutsideEcg(const CaseRecord &c)
{
    return std::count_if(c.cprFeedback.begin(), c.cprFeedback.end(),
                         [&](const CprFeedbackRecord &k) { return !compressionInsideEcg(c, k.timeMs); });
}

QString eventAnnotationText(const QString &text, const QString &detail)
{
    return detail.isEmpty() ? text : text + QStringLiteral(" - ") + detail;
}

EdfContent content(const OpenCase &openCase, const LanguagePack &texts, const ExportOptions &options)
{
    EdfContent e;
    const CaseRecord &c = *openCase.record;
    const bool anonymous = options.anonymize;
    e.patientField = patientField(c, anonymous);
    // Hospital administration code and investigator unknown; the equipment is the device,
    // named by its serial number unless anonymised. An invalid start gives "Startdate X".
    e.recordingField = anonymous ? QStringLiteral("X X X") : QStringLiteral("X X ") + headerSubfield(c.serialNumber.trimmed());
    e.start = anonymous ? EdfStart() : startOf(c);
    e.physicalPerUnit = MicrovoltsPerRawUnit;
    e.samplesPerSecond = SamplesPerSecond;
    e.stored = rawEcgSamples(openCase);

    const int64_t origin = c.ecgStartMs;
    auto add = [&](int64_t timeMs, int64_t durationMs, const QString &text) {
        e.annotations.push_back({timeMs - origin, durationMs, text});
    };
    c.events.forEachUsed([&](int, const EventItem &ev) {
        add(ev.timeMs, -1, anonymous ? Anonymity::eventText(ev.text) : eventAnnotationText(ev.text, ev.detail));
    });
    c.cprPeriods.forEachUsed([&](int, const CprPeriod &p) {
        add(p.startMs, std::max<int64_t>(0, int64_t(p.endMs) - p.startMs), texts.GetText(ExportText::CprPeriod));
    });
    c.segments.forEachUsed([&](int, const EcgSegment &s) {
        add(s.startMs, std::max<int64_t>(0, int64_t(s.endMs) - s.startMs), texts.GetText(ExportText::EcgSegment));
    });
    if (options.withCompressions) {
        const QString format = texts.GetText(ExportText::Compression);
        // Only the ECG's own seconds: every annotation past its end would crowd into the
        // last data record, and all records are as large as the fullest one.
        for (const CprFeedbackRecord &k : c.cprFeedback)
            if (compressionInsideEcg(c, k.timeMs))
                add(k.timeMs, -1, format.arg(depthInches(k.depth), 0, 'f', 1));
    }
    // The last data record is filled up to a whole second; a reader sees where the ECG ends.
    const auto count = int64_t(e.stored.count);
    if (count % SamplesPerSecond != 0)
        e.annotations.push_back({count * 1000 / SamplesPerSecond, -1, texts.GetText(ExportText::EcgEnd)});
    std::stable_sort(e.annotations.begin(), e.annotations.end(),
                     [](const EdfAnnotation &a, const EdfAnnotation &b) { return a.onsetMs < b.onsetMs; });
    return e;
}

} // namespace CaseEdf
