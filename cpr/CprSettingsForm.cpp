#include "cpr/CprSettingsForm.h"

#include "base/LanguagePack.h"
#include "cpr/CprQuality.h"
#include "cpr/CprTexts.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double DepthSlack = 1e-9; // inches; what the conversion from cm may add

// A number typed with a point or a comma.
bool readNumber(const QString &text, double &out)
{
    bool ok = false;
    out = QString(text.trimmed()).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    return ok && std::isfinite(out);
}

bool readWhole(const QString &text, int32_t &out)
{
    bool ok = false;
    out = text.trimmed().toInt(&ok);
    return ok;
}

QString number(double v)
{
    return QString::number(v, 'g', 6);
}

} // namespace

CprSettingsForm::CprSettingsForm(const CprReviewSettings &current, const LanguagePack &texts)
    : m_texts(texts), m_unit(current.depthUnit), m_result(current)
{
    show(current);
}

QString CprSettingsForm::depthText(double inches, CprDepthUnit unit)
{
    return unit == CprDepthUnit::Centimetres ? QString::number(inchesToCm(inches), 'f', 2)
                                             : QString::number(inches, 'f', 1);
}

void CprSettingsForm::show(const CprReviewSettings &s)
{
    const CprQualitySettings &q = s.quality;
    pauseThresholdText = QString::number(q.pauseThresholdMs);
    ccfPercentText = m_texts.localNumbers(number(q.ccfTarget * 100));
    rateMinText = QString::number(q.rateMinPerMin);
    rateMaxText = QString::number(q.rateMaxPerMin);
    m_depthMinIn = q.depthMinIn;
    m_depthMaxIn = q.depthMaxIn;
    m_shownDepthMin = depthMinText = m_texts.localNumbers(depthText(q.depthMinIn, m_unit));
    m_shownDepthMax = depthMaxText = m_texts.localNumbers(depthText(q.depthMaxIn, m_unit));
    preShockText = QString::number(q.preShockPauseMaxMs / 1000);
    postShockText = QString::number(q.postShockPauseMaxMs / 1000);
}

bool CprSettingsForm::depthInches(const QString &text, const QString &shown, double shownInches, double &inches) const
{
    if (text.trimmed() == shown) {
        inches = shownInches;
        return true;
    }
    double v = 0;
    if (!readNumber(text, v))
        return false;
    inches = m_unit == CprDepthUnit::Centimetres ? v / inchesToCm(1.0) : v;
    return true;
}

void CprSettingsForm::setDepthUnit(CprDepthUnit unit)
{
    if (unit == m_unit)
        return;
    double lo = 0, hi = 0;
    const bool loRead = depthInches(depthMinText, m_shownDepthMin, m_depthMinIn, lo);
    const bool hiRead = depthInches(depthMaxText, m_shownDepthMax, m_depthMaxIn, hi);
    m_unit = unit;
    if (loRead) {
        m_depthMinIn = lo;
        m_shownDepthMin = depthMinText = m_texts.localNumbers(depthText(lo, unit));
    }
    if (hiRead) {
        m_depthMaxIn = hi;
        m_shownDepthMax = depthMaxText = m_texts.localNumbers(depthText(hi, unit));
    }
}

void CprSettingsForm::restoreDefaults()
{
    CprReviewSettings defaults;
    defaults.depthUnit = m_unit;
    show(defaults);
}

bool CprSettingsForm::accept()
{
    using namespace CprSettingLimits;
    CprReviewSettings s;
    s.depthUnit = m_unit;
    CprQualitySettings &q = s.quality;
    m_problem = 0;

    double ccfPercent = 0;
    int32_t preSeconds = 0, postSeconds = 0;
    if (!readWhole(pauseThresholdText, q.pauseThresholdMs) || q.pauseThresholdMs < CprQualitySettings::MinPauseThresholdMs
        || q.pauseThresholdMs > CprQualitySettings::MaxPauseThresholdMs)
        m_problem = CprText::BadPauseThreshold;
    else if (!readNumber(ccfPercentText, ccfPercent) || ccfPercent < 0 || ccfPercent > 100)
        m_problem = CprText::BadCcfTarget;
    else if (!readWhole(rateMinText, q.rateMinPerMin) || !readWhole(rateMaxText, q.rateMaxPerMin)
             || q.rateMinPerMin < MinRatePerMin || q.rateMaxPerMin > MaxRatePerMin
             || q.rateMinPerMin > q.rateMaxPerMin)
        m_problem = CprText::BadRateTarget;
    else if (!depthInches(depthMinText, m_shownDepthMin, m_depthMinIn, q.depthMinIn)
             || !depthInches(depthMaxText, m_shownDepthMax, m_depthMaxIn, q.depthMaxIn) || !(q.depthMinIn > 0)
             || q.depthMaxIn > MaxDepthIn + DepthSlack || q.depthMinIn > q.depthMaxIn)
        m_problem = CprText::BadDepthTarget;
    else if (!readWhole(preShockText, preSeconds) || !readWhole(postShockText, postSeconds)
             || std::min(preSeconds, postSeconds) < MinShockPauseSeconds
             || std::max(preSeconds, postSeconds) > MaxShockPauseSeconds)
        m_problem = CprText::BadShockPause;
    if (m_problem != 0)
        return false;

    // 25.4 cm is 10 in, though not to the last bit.
    q.depthMaxIn = std::min(q.depthMaxIn, MaxDepthIn);
    q.depthMinIn = std::min(q.depthMinIn, q.depthMaxIn);
    q.ccfTarget = ccfPercent / 100;
    q.preShockPauseMaxMs = preSeconds * 1000;
    q.postShockPauseMaxMs = postSeconds * 1000;
    m_result = s;
    return true;
}
