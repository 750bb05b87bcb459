#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// Times are ms of case time (since power-on), lengths ms; shares are fractions 0..1.
// std::nullopt is "none": the measure has nothing to measure or would divide by zero.

// What a pause held: a shock, else an analysis, else neither.
enum class CprPauseKind { PeriShock, Analysis, Other };

// A gap between two consecutive compressions of at least the pause threshold.
struct CprPause
{
    int32_t startMs = 0;  // the earlier compression
    int64_t lengthMs = 0; // to the later one
    CprPauseKind kind = CprPauseKind::Other;
};

// The hands-off time around one shock.
struct CprShockPauses
{
    int32_t timeMs = 0;
    std::optional<int64_t> preShockPauseMs;  // from the last compression before the shock
    std::optional<int64_t> postShockPauseMs; // to the first compression after it
};

// One minute of case time, [60000 * minute, 60000 * minute + 60000).
struct CprMinute
{
    int64_t minute = 0;
    int compressions = 0;
    std::optional<double> ccf;            // in-run time / the analysed span, both inside the minute
    std::optional<double> meanRatePerMin; // of the in-run gaps that start in the minute
    std::optional<double> meanDepthIn;
};

struct CprQualityResult
{
    int compressionCount = 0;        // distinct compression times
    int32_t pauseThresholdMs = 0;
    std::optional<int32_t> firstCompressionMs;
    std::optional<int32_t> lastCompressionMs;
    int64_t compressionTimeMs = 0;   // sum of the in-run gaps
    std::optional<double> ccf;       // compression time / (last - first compression)
    std::optional<double> meanRatePerMin;
    std::optional<double> rateInTarget;
    std::optional<double> meanDepthIn;
    std::optional<double> meanDepthCm;
    std::optional<double> depthInTarget;
    std::optional<double> depthShallow;
    std::optional<double> depthDeep;
    std::optional<int32_t> timeToFirstCompressionMs;
    std::optional<int32_t> timeToFirstAnalysisMs;
    std::optional<int32_t> timeToFirstShockMs;
    std::optional<int64_t> longestPauseMs;
    int pausesOver10s = 0;
    std::vector<CprShockPauses> shocks;  // time order
    std::vector<CprPause> pauses;        // time order
    std::vector<CprMinute> perMinute;    // every minute from the first compression's to the last's
};
