#include "cpr/HandsOff.h"

#include "cpr/CprQuality.h"

#include <algorithm>

namespace {

using Times = std::vector<int32_t>;

Times sorted(Times times)
{
    std::sort(times.begin(), times.end());
    return times;
}

// The events of the input in time order.
struct SortedEvents
{
    Times shocks, analysisStarts, analysisResults, ready, pads, padsOn, breaths;

    explicit SortedEvents(const HandsOffInput &in)
        : shocks(sorted(in.shocksMs)), analysisStarts(sorted(in.analysisStartsMs)),
          analysisResults(sorted(in.analysisResultsMs)), ready(sorted(in.readyMs)), pads(sorted(in.padsMs)),
          padsOn(sorted(in.padsOnMs)), breaths(sorted(in.breathsMs))
    {
    }
};

std::optional<int64_t> latestBefore(const Times &times, int64_t t)
{
    const auto at = std::lower_bound(times.begin(), times.end(), t, [](int32_t e, int64_t v) { return e < v; });
    if (at == times.begin())
        return std::nullopt;
    return *std::prev(at);
}

std::optional<int64_t> firstAtOrAfter(const Times &times, int64_t t)
{
    const auto at = std::lower_bound(times.begin(), times.end(), t, [](int32_t e, int64_t v) { return e < v; });
    if (at == times.end())
        return std::nullopt;
    return *at;
}

// The first time with a < t < b.
std::optional<int64_t> firstInside(const Times &times, int64_t a, int64_t b)
{
    const auto at = std::upper_bound(times.begin(), times.end(), a, [](int64_t v, int32_t e) { return v < e; });
    if (at == times.end() || *at >= b)
        return std::nullopt;
    return *at;
}

std::optional<int32_t> first(const Times &times)
{
    if (times.empty())
        return std::nullopt;
    return times.front();
}

// The splits of the pause from a to the shock s: analysis start x, result r, ready y.
struct ShockSteps
{
    int64_t x = 0, r = 0, y = 0;
};

ShockSteps shockSteps(const SortedEvents &e, int64_t a, int64_t s)
{
    ShockSteps k;
    const std::optional<int64_t> start = latestBefore(e.analysisStarts, s);
    k.x = start ? std::clamp(*start, a, s) : a;
    const std::optional<int64_t> result = start ? firstAtOrAfter(e.analysisResults, *start) : std::nullopt;
    k.r = result ? std::clamp(*result, k.x, s) : k.x;
    const std::optional<int64_t> ready = latestBefore(e.ready, s);
    k.y = ready ? std::clamp(*ready, k.r, s) : k.r;
    return k;
}

// Parts from a through the given ends, each part ending where the next begins.
std::vector<PausePart> chain(int64_t a, std::initializer_list<std::pair<PauseCause, int64_t>> ends)
{
    std::vector<PausePart> parts;
    int64_t from = a;
    for (const auto &[cause, to] : ends) {
        parts.push_back({cause, int32_t(from), to - from});
        from = to;
    }
    return parts;
}

std::vector<PausePart> partsOf(const SortedEvents &e, int64_t a, int64_t b)
{
    if (const std::optional<int64_t> s = firstInside(e.shocks, a, b)) {
        const ShockSteps k = shockSteps(e, a, *s);
        return chain(a, {{PauseCause::UntilAnalysis, k.x},
                         {PauseCause::Analysis, k.r},
                         {PauseCause::Charge, k.y},
                         {PauseCause::ToShock, *s},
                         {PauseCause::AfterShock, b}});
    }
    if (const std::optional<int64_t> x = firstInside(e.analysisStarts, a, b)) {
        const std::optional<int64_t> result = firstAtOrAfter(e.analysisResults, *x);
        const int64_t r = result ? std::clamp(*result, *x, b) : *x;
        return chain(a, {{PauseCause::UntilAnalysis, *x}, {PauseCause::Analysis, r}, {PauseCause::AfterAnalysis, b}});
    }
    const PauseCause cause = firstInside(e.pads, a, b)      ? PauseCause::Pads
                             : firstInside(e.breaths, a, b) ? PauseCause::Breaths
                                                            : PauseCause::Other;
    return chain(a, {{cause, b}});
}

HandsOffShock shockFigures(const SortedEvents &e, const std::vector<HandsOffPause> &pauses, int32_t s)
{
    HandsOffShock out;
    out.timeMs = s;
    // The last pause starting before the shock is the only one that can hold it.
    const auto after = std::lower_bound(pauses.begin(), pauses.end(), s,
                                        [](const HandsOffPause &p, int32_t t) { return p.startMs < t; });
    if (after == pauses.begin())
        return out;
    const HandsOffPause &p = *std::prev(after);
    const int64_t a = p.startMs, b = a + p.lengthMs;
    if (!(a < s && s < b))
        return out;
    const ShockSteps k = shockSteps(e, a, s);
    out.analysisMs = k.r - k.x;
    out.chargeMs = k.y - k.r;
    out.toShockMs = s - k.y;
    out.preShockPauseMs = s - a;
    out.postShockPauseMs = b - s;
    out.periShockPauseMs = b - a;
    return out;
}

} // namespace

QString pauseCauseName(PauseCause cause)
{
    switch (cause) {
    case PauseCause::UntilAnalysis: return QStringLiteral("until-analysis");
    case PauseCause::Analysis: return QStringLiteral("analysis");
    case PauseCause::Charge: return QStringLiteral("charge");
    case PauseCause::ToShock: return QStringLiteral("to-shock");
    case PauseCause::AfterShock: return QStringLiteral("after-shock");
    case PauseCause::AfterAnalysis: return QStringLiteral("after-analysis");
    case PauseCause::Pads: return QStringLiteral("pads");
    case PauseCause::Breaths: return QStringLiteral("breaths");
    case PauseCause::Other: break;
    case PauseCause::RhythmCheck: return QStringLiteral("rhythm-check");
    case PauseCause::Airway: return QStringLiteral("airway");
    case PauseCause::Transport: return QStringLiteral("transport");
    }
    return QStringLiteral("other");
}

std::map<int32_t, PauseCause> reviewerPauseCauses(const std::map<int32_t, QString> &named)
{
    std::map<int32_t, PauseCause> causes;
    for (const auto &[startMs, name] : named)
        for (PauseCause c : {PauseCause::Breaths, PauseCause::Pads, PauseCause::RhythmCheck, PauseCause::Airway,
                             PauseCause::Transport, PauseCause::Other})
            if (pauseCauseName(c) == name)
                causes.emplace(startMs, c);
    return causes;
}

HandsOffResult handsOff(const HandsOffInput &input, int32_t pauseThresholdMs,
                        const std::map<int32_t, PauseCause> &reviewerCauses)
{
    // The pauses the CPR measures count, found by the measures themselves.
    CprQualitySettings settings;
    settings.pauseThresholdMs = pauseThresholdMs;
    return handsOff(input, measureCprQuality({input.compressions, {}, {}}, settings), reviewerCauses);
}

HandsOffResult handsOff(const HandsOffInput &input, const CprQualityResult &measures,
                        const std::map<int32_t, PauseCause> &reviewerCauses)
{
    const SortedEvents e(input);
    HandsOffResult out;
    out.beforeCpr = {first(e.padsOn), first(e.analysisStarts), first(e.shocks), measures.firstCompressionMs};

    for (const CprPause &p : measures.pauses) {
        HandsOffPause pause{p.startMs, p.lengthMs, {}, false};
        if (const auto set = reviewerCauses.find(p.startMs); set != reviewerCauses.end()) {
            pause.parts = {{set->second, p.startMs, p.lengthMs}};
            pause.setByReviewer = true;
        } else {
            pause.parts = partsOf(e, p.startMs, int64_t(p.startMs) + p.lengthMs);
        }
        out.totalMs += p.lengthMs;
        for (const PausePart &part : pause.parts)
            out.byCauseMs[size_t(part.cause)] += part.lengthMs;
        out.pauses.push_back(std::move(pause));
    }
    if (out.totalMs > 0) {
        for (size_t k = 0; k < PauseCauseCount; ++k)
            out.share[k] = double(out.byCauseMs[k]) / double(out.totalMs);
    }
    for (int32_t s : e.shocks)
        out.shocks.push_back(shockFigures(e, out.pauses, s));
    return out;
}
