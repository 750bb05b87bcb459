#include "cpr/CprTargets.h"

#include <algorithm>

namespace {

constexpr double Tolerance = 1e-9;

CprTargetStatus status(bool met)
{
    return met ? CprTargetStatus::Met : CprTargetStatus::NotMet;
}

template <typename Pick>
std::optional<int64_t> longest(const CprQualityResult &result, Pick pick)
{
    std::optional<int64_t> out;
    for (const CprShockPauses &s : result.shocks) {
        const std::optional<int64_t> v = pick(s);
        if (v && (!out || *v > *out))
            out = v;
    }
    return out;
}

} // namespace

std::optional<int64_t> longestPreShockPauseMs(const CprQualityResult &result)
{
    return longest(result, [](const CprShockPauses &s) { return s.preShockPauseMs; });
}

std::optional<int64_t> longestPostShockPauseMs(const CprQualityResult &result)
{
    return longest(result, [](const CprShockPauses &s) { return s.postShockPauseMs; });
}

CprTargetStatus atLeast(std::optional<double> value, double target)
{
    return value ? status(*value >= target - Tolerance) : CprTargetStatus::None;
}

CprTargetStatus inBand(std::optional<double> value, double low, double high)
{
    return value ? status(*value >= low - Tolerance && *value <= high + Tolerance) : CprTargetStatus::None;
}

CprTargetStatus atMost(std::optional<int64_t> value, int64_t limit)
{
    return value ? status(*value <= limit) : CprTargetStatus::None;
}

CprTargetChecks evaluateCprTargets(const CprQualityResult &result, const CprQualitySettings &settings)
{
    CprTargetChecks c;
    c.ccf = atLeast(result.ccf, settings.ccfTarget);
    c.rate = inBand(result.meanRatePerMin, settings.rateMinPerMin, settings.rateMaxPerMin);
    c.depth = inBand(result.meanDepthIn, settings.depthMinIn, settings.depthMaxIn);
    c.preShock = atMost(longestPreShockPauseMs(result), settings.preShockPauseMaxMs);
    c.postShock = atMost(longestPostShockPauseMs(result), settings.postShockPauseMaxMs);
    return c;
}
