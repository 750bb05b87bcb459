#include "cpr/CprSummary.h"

#include "base/LanguagePack.h"
#include "cpr/CprQuality.h"
#include "cpr/CprTexts.h"

namespace CprSummary {

namespace {

const QString NoneText = QString::fromUtf16(None);
const QString EnDash = QStringLiteral("\u2013");

template <typename T, typename Format>
QString orNone(std::optional<T> v, Format format)
{
    return v ? format(*v) : NoneText;
}

CprSummaryRow plain(const LanguagePack &texts, int measure, const QString &value)
{
    return {texts.GetText(measure), value, QString(), CprTargetStatus::None, false, QString()};
}

CprSummaryRow judged(const LanguagePack &texts, int measure, const QString &value, const QString &target,
                     CprTargetStatus status)
{
    return {texts.GetText(measure), value, target, status, true, statusText(status, texts)};
}

} // namespace

QString percent(std::optional<double> share)
{
    return orNone(share, [](double v) { return QString::number(v * 100, 'f', 1) + QStringLiteral(" %"); });
}

QString rate(std::optional<double> perMinute)
{
    return orNone(perMinute, [](double v) { return QString::number(v, 'f', 0) + QStringLiteral(" /min"); });
}

QString unitName(CprDepthUnit unit)
{
    return unit == CprDepthUnit::Centimetres ? QStringLiteral("cm") : QStringLiteral("in");
}

QString depth(std::optional<double> inches, CprDepthUnit unit)
{
    return orNone(inches, [unit](double in) {
        const double v = unit == CprDepthUnit::Centimetres ? inchesToCm(in) : in;
        return QString::number(v, 'f', 2) + QLatin1Char(' ') + unitName(unit);
    });
}

QString seconds(std::optional<int64_t> ms)
{
    return orNone(ms, [](int64_t v) { return QString::number(double(v) / 1000, 'f', 1) + QStringLiteral(" s"); });
}

QString caseTime(std::optional<int64_t> ms)
{
    return orNone(ms, [](int64_t v) {
        const QString sign = v < 0 ? QStringLiteral("-") : QString();
        const int64_t s = (v < 0 ? -v : v) / 1000;
        if (s >= 3600)
            return sign + QString::asprintf("%lld:%02d:%02d", static_cast<long long>(s / 3600), int(s / 60 % 60),
                                            int(s % 60));
        return sign + QString::asprintf("%d:%02d", int(s / 60), int(s % 60));
    });
}

QString statusText(CprTargetStatus status, const LanguagePack &texts)
{
    switch (status) {
    case CprTargetStatus::Met: return texts.GetText(CprText::Met);
    case CprTargetStatus::NotMet: return texts.GetText(CprText::NotMet);
    case CprTargetStatus::None: break;
    }
    return NoneText;
}

QString kindText(CprPauseKind kind, const LanguagePack &texts)
{
    switch (kind) {
    case CprPauseKind::PeriShock: return texts.GetText(CprText::KindPeriShock);
    case CprPauseKind::Analysis: return texts.GetText(CprText::KindAnalysis);
    case CprPauseKind::Other: break;
    }
    return texts.GetText(CprText::KindOther);
}

QString ccfTarget(const CprQualitySettings &s)
{
    return QStringLiteral("\u2265 ") + QString::number(s.ccfTarget * 100, 'g', 4) + QStringLiteral(" %");
}

QString rateTarget(const CprQualitySettings &s)
{
    return QString::number(s.rateMinPerMin) + EnDash + QString::number(s.rateMaxPerMin) + QStringLiteral(" /min");
}

QString depthTarget(const CprQualitySettings &s, CprDepthUnit unit)
{
    const auto bound = [unit](double in) {
        return unit == CprDepthUnit::Centimetres ? QString::number(inchesToCm(in), 'f', 2) : QString::number(in, 'f', 1);
    };
    return bound(s.depthMinIn) + EnDash + bound(s.depthMaxIn) + QLatin1Char(' ') + unitName(unit);
}

QString pauseLimit(int32_t ms)
{
    return QStringLiteral("\u2264 ") + QString::number(double(ms) / 1000, 'g', 6) + QStringLiteral(" s");
}

std::vector<CprSummaryRow> rows(const CprQualityResult &r, const CprReviewSettings &settings,
                                const LanguagePack &texts)
{
    const CprQualitySettings &q = settings.quality;
    const CprDepthUnit unit = settings.depthUnit;
    const CprTargetChecks checks = evaluateCprTargets(r, q);
    const QString depthBand = depthTarget(q, unit);
    return {
        plain(texts, CprText::Compressions, QString::number(r.compressionCount)),
        judged(texts, CprText::Ccf, percent(r.ccf), ccfTarget(q), checks.ccf),
        judged(texts, CprText::MeanRate, rate(r.meanRatePerMin), rateTarget(q), checks.rate),
        plain(texts, CprText::RateInTarget, percent(r.rateInTarget)),
        judged(texts, CprText::MeanDepth, depth(r.meanDepthIn, unit), depthBand, checks.depth),
        plain(texts, CprText::DepthInTarget, percent(r.depthInTarget)),
        plain(texts, CprText::TooShallow, percent(r.depthShallow)),
        plain(texts, CprText::TooDeep, percent(r.depthDeep)),
        judged(texts, CprText::LongestPreShock, seconds(longestPreShockPauseMs(r)), pauseLimit(q.preShockPauseMaxMs),
               checks.preShock),
        judged(texts, CprText::LongestPostShock, seconds(longestPostShockPauseMs(r)),
               pauseLimit(q.postShockPauseMaxMs), checks.postShock),
        plain(texts, CprText::LongestPause, seconds(r.longestPauseMs)),
        plain(texts, CprText::PausesOver10s, QString::number(r.pausesOver10s)),
        plain(texts, CprText::TimeToFirstCompression, caseTime(r.timeToFirstCompressionMs)),
        plain(texts, CprText::TimeToFirstAnalysis, caseTime(r.timeToFirstAnalysisMs)),
        plain(texts, CprText::TimeToFirstShock, caseTime(r.timeToFirstShockMs)),
    };
}

std::vector<CprPauseRow> pauseRows(const CprQualityResult &r, const LanguagePack &texts)
{
    std::vector<CprPauseRow> out;
    out.reserve(r.pauses.size());
    for (const CprPause &p : r.pauses)
        out.push_back({p.startMs, caseTime(p.startMs), seconds(p.lengthMs), kindText(p.kind, texts), QString(), false});
    return out;
}

} // namespace CprSummary
