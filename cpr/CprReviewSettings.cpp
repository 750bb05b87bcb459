#include "cpr/CprReviewSettings.h"

#include <QSettings>

namespace {

const QString Group = QStringLiteral("CPR Quality");

bool within(double v, double lo, double hi)
{
    return v >= lo && v <= hi;
}

} // namespace

bool cprSettingsValid(const CprQualitySettings &s)
{
    using namespace CprSettingLimits;
    const auto shockLimit = [](int32_t ms) {
        return ms % 1000 == 0 && within(ms, MinShockPauseSeconds * 1000.0, MaxShockPauseSeconds * 1000.0);
    };
    return within(s.pauseThresholdMs, CprQualitySettings::MinPauseThresholdMs, CprQualitySettings::MaxPauseThresholdMs)
        && within(s.ccfTarget, 0.0, 1.0) && within(s.rateMinPerMin, MinRatePerMin, MaxRatePerMin)
        && within(s.rateMaxPerMin, s.rateMinPerMin, MaxRatePerMin) && s.depthMinIn > 0
        && within(s.depthMaxIn, s.depthMinIn, MaxDepthIn) && shockLimit(s.preShockPauseMaxMs)
        && shockLimit(s.postShockPauseMaxMs);
}

namespace CprSettingsStore {

CprReviewSettings load(QSettings &settings)
{
    settings.beginGroup(Group);
    const QStringList keys = settings.childKeys();
    CprReviewSettings v;
    bool ok = !keys.isEmpty();
    const auto integer = [&](const char *key, int32_t &out) {
        bool good = false;
        out = settings.value(QLatin1String(key)).toInt(&good);
        ok = ok && good;
    };
    const auto real = [&](const char *key, double &out) {
        bool good = false;
        out = settings.value(QLatin1String(key)).toDouble(&good);
        ok = ok && good;
    };
    CprQualitySettings &q = v.quality;
    integer("PauseThresholdMs", q.pauseThresholdMs);
    real("CcfTarget", q.ccfTarget);
    integer("RateMinPerMin", q.rateMinPerMin);
    integer("RateMaxPerMin", q.rateMaxPerMin);
    real("DepthMinIn", q.depthMinIn);
    real("DepthMaxIn", q.depthMaxIn);
    integer("PreShockPauseMaxMs", q.preShockPauseMaxMs);
    integer("PostShockPauseMaxMs", q.postShockPauseMaxMs);
    const QString unit = settings.value(QStringLiteral("DepthUnit")).toString();
    ok = ok && (unit == QLatin1String("in") || unit == QLatin1String("cm"));
    v.depthUnit = unit == QLatin1String("cm") ? CprDepthUnit::Centimetres : CprDepthUnit::Inches;
    settings.endGroup();
    return ok && cprSettingsValid(q) ? v : CprReviewSettings();
}

void save(QSettings &settings, const CprReviewSettings &values)
{
    const CprQualitySettings &q = values.quality;
    settings.beginGroup(Group);
    settings.setValue(QStringLiteral("PauseThresholdMs"), q.pauseThresholdMs);
    settings.setValue(QStringLiteral("CcfTarget"), q.ccfTarget);
    settings.setValue(QStringLiteral("RateMinPerMin"), q.rateMinPerMin);
    settings.setValue(QStringLiteral("RateMaxPerMin"), q.rateMaxPerMin);
    settings.setValue(QStringLiteral("DepthMinIn"), q.depthMinIn);
    settings.setValue(QStringLiteral("DepthMaxIn"), q.depthMaxIn);
    settings.setValue(QStringLiteral("PreShockPauseMaxMs"), q.preShockPauseMaxMs);
    settings.setValue(QStringLiteral("PostShockPauseMaxMs"), q.postShockPauseMaxMs);
    settings.setValue(QStringLiteral("DepthUnit"),
                      values.depthUnit == CprDepthUnit::Centimetres ? QStringLiteral("cm") : QStringLiteral("in"));
    settings.endGroup();
    settings.sync();
}

} // namespace CprSettingsStore
