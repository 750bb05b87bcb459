#include "cpr/CprQuality.h"

#include <algorithm>

namespace {

constexpr double DepthUnitsPerInch = 25.0;
constexpr double CmPerInch = 2.54;
constexpr int64_t MinuteMs = 60000;
constexpr int64_t LongPauseMs = 10000;

int64_t minuteOf(int64_t timeMs)
{
    const int64_t q = timeMs / MinuteMs;
    return timeMs % MinuteMs < 0 ? q - 1 : q;
}

// Length of [a, b) inside [lo, hi).
int64_t overlap(int64_t a, int64_t b, int64_t lo, int64_t hi)
{
    return std::max<int64_t>(0, std::min(b, hi) - std::max(a, lo));
}

std::optional<double> share(int64_t part, int64_t whole)
{
    if (whole == 0)
        return std::nullopt;
    return double(part) / double(whole);
}

// Compressions in time order, one per time: the first recorded at a time stands for it.
std::vector<CprFeedbackRecord> distinctCompressions(std::vector<CprFeedbackRecord> c)
{
    const auto earlier = [](const CprFeedbackRecord &a, const CprFeedbackRecord &b) { return a.timeMs < b.timeMs; };
    // The sensor writes in time order, so the sort is rarely needed.
    if (!std::is_sorted(c.begin(), c.end(), earlier))
        std::stable_sort(c.begin(), c.end(), earlier);
    c.erase(std::unique(c.begin(), c.end(), [](const auto &a, const auto &b) { return a.timeMs == b.timeMs; }),
            c.end());
    return c;
}

std::vector<int32_t> sorted(std::vector<int32_t> times)
{
    std::sort(times.begin(), times.end());
    return times;
}

// Whether some time of the sorted list lies strictly between a and b.
bool holdsAny(const std::vector<int32_t> &times, int64_t a, int64_t b)
{
    const auto after = std::upper_bound(times.begin(), times.end(), a,
                                        [](int64_t t, int32_t time) { return t < time; });
    return after != times.end() && *after < b;
}

CprShockPauses shockPauses(const std::vector<CprFeedbackRecord> &c, int32_t shockMs)
{
    CprShockPauses s;
    s.timeMs = shockMs;
    const auto later = std::upper_bound(c.begin(), c.end(), shockMs,
                                        [](int32_t t, const CprFeedbackRecord &r) { return t < r.timeMs; });
    const auto notEarlier = std::lower_bound(c.begin(), c.end(), shockMs,
                                             [](const CprFeedbackRecord &r, int32_t t) { return r.timeMs < t; });
    if (notEarlier != c.begin())
        s.preShockPauseMs = int64_t(shockMs) - std::prev(notEarlier)->timeMs;
    if (later != c.end())
        s.postShockPauseMs = int64_t(later->timeMs) - shockMs;
    return s;
}

// What the measures add up per minute before they divide.
struct MinuteSums
{
    int compressions = 0;
    int64_t depthSum = 0;
    int64_t inRunMs = 0;      // in-run time inside the minute
    int runGaps = 0;          // in-run gaps starting in the minute
    int64_t runGapMs = 0;     // their whole lengths
};

bool rateInBand(int64_t gapMs, const CprQualitySettings &s)
{
    // 60000 / gap within [min, max] per minute, without rounding.
    return gapMs * s.rateMinPerMin <= MinuteMs && MinuteMs <= gapMs * s.rateMaxPerMin;
}

void measureDepth(const std::vector<CprFeedbackRecord> &c, const CprQualitySettings &s, CprQualityResult &r)
{
    int64_t sum = 0;
    int inBand = 0, shallow = 0, deep = 0;
    for (const auto &k : c) {
        sum += k.depth;
        const double in = depthInches(k.depth);
        if (in < s.depthMinIn)
            ++shallow;
        else if (in > s.depthMaxIn)
            ++deep;
        else
            ++inBand;
    }
    const auto n = int64_t(c.size());
    r.meanDepthIn = double(sum) / double(n) / DepthUnitsPerInch;
    r.meanDepthCm = inchesToCm(*r.meanDepthIn);
    r.depthInTarget = share(inBand, n);
    r.depthShallow = share(shallow, n);
    r.depthDeep = share(deep, n);
}

void measureGaps(const std::vector<CprFeedbackRecord> &c, const std::vector<int32_t> &shocks,
                 const std::vector<int32_t> &analyses, const CprQualitySettings &s, CprQualityResult &r,
                 std::vector<MinuteSums> &minutes, int64_t firstMinute)
{
    int64_t inRunGaps = 0, inBand = 0;
    for (size_t i = 0; i + 1 < c.size(); ++i) {
        const int64_t a = c[i].timeMs, b = c[i + 1].timeMs, gap = b - a;
        if (gap >= s.pauseThresholdMs) {
            const CprPauseKind kind = holdsAny(shocks, a, b)     ? CprPauseKind::PeriShock
                                      : holdsAny(analyses, a, b) ? CprPauseKind::Analysis
                                                                 : CprPauseKind::Other;
            r.pauses.push_back({c[i].timeMs, gap, kind});
            r.longestPauseMs = std::max(r.longestPauseMs.value_or(0), gap);
            if (gap > LongPauseMs)
                ++r.pausesOver10s;
            continue;
        }
        ++inRunGaps;
        r.compressionTimeMs += gap;
        if (rateInBand(gap, s))
            ++inBand;
        MinuteSums &start = minutes[size_t(minuteOf(a) - firstMinute)];
        ++start.runGaps;
        start.runGapMs += gap;
        // Its time inside each minute it touches (one or two).
        for (int64_t k = minuteOf(a); k <= minuteOf(b); ++k)
            minutes[size_t(k - firstMinute)].inRunMs += overlap(a, b, k * MinuteMs, (k + 1) * MinuteMs);
    }
    if (inRunGaps > 0)
        r.meanRatePerMin = double(MinuteMs) * double(inRunGaps) / double(r.compressionTimeMs);
    r.rateInTarget = share(inBand, inRunGaps);
}

} // namespace

double depthInches(int32_t depth)
{
    return depth / DepthUnitsPerInch;
}

double inchesToCm(double inches)
{
    return inches * CmPerInch;
}

QString pauseKindName(CprPauseKind kind)
{
    switch (kind) {
    case CprPauseKind::PeriShock: return QStringLiteral("peri-shock");
    case CprPauseKind::Analysis: return QStringLiteral("analysis");
    case CprPauseKind::Other: break;
    }
    return QStringLiteral("other");
}

CprQualityResult measureCprQuality(const CprQualityInput &input, const CprQualitySettings &settings)
{
    CprQualityResult r;
    r.pauseThresholdMs = settings.pauseThresholdMs;
    const std::vector<CprFeedbackRecord> c = distinctCompressions(input.compressions);
    const std::vector<int32_t> shocks = sorted(input.shocksMs);
    const std::vector<int32_t> analyses = sorted(input.analysesMs);

    r.compressionCount = int(c.size());
    if (!analyses.empty())
        r.timeToFirstAnalysisMs = analyses.front();
    if (!shocks.empty())
        r.timeToFirstShockMs = shocks.front();
    for (int32_t s : shocks)
        r.shocks.push_back(shockPauses(c, s));
    if (c.empty())
        return r;

    const int64_t first = c.front().timeMs, last = c.back().timeMs;
    r.firstCompressionMs = c.front().timeMs;
    r.lastCompressionMs = c.back().timeMs;
    r.timeToFirstCompressionMs = c.front().timeMs;
    measureDepth(c, settings, r);

    const int64_t firstMinute = minuteOf(first), lastMinute = minuteOf(last);
    std::vector<MinuteSums> minutes(size_t(lastMinute - firstMinute + 1));
    for (const auto &k : c) {
        MinuteSums &m = minutes[size_t(minuteOf(k.timeMs) - firstMinute)];
        ++m.compressions;
        m.depthSum += k.depth;
    }
    measureGaps(c, shocks, analyses, settings, r, minutes, firstMinute);
    if (c.size() >= 2)
        r.ccf = double(r.compressionTimeMs) / double(last - first);

    for (int64_t k = firstMinute; k <= lastMinute; ++k) {
        const MinuteSums &m = minutes[size_t(k - firstMinute)];
        CprMinute out;
        out.minute = k;
        out.compressions = m.compressions;
        const int64_t span = overlap(first, last, k * MinuteMs, (k + 1) * MinuteMs);
        if (span > 0)
            out.ccf = double(m.inRunMs) / double(span);
        if (m.runGaps > 0)
            out.meanRatePerMin = double(MinuteMs) * m.runGaps / double(m.runGapMs);
        if (m.compressions > 0)
            out.meanDepthIn = double(m.depthSum) / m.compressions / DepthUnitsPerInch;
        r.perMinute.push_back(out);
    }
    return r;
}
