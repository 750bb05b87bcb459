#pragma once

#include "cpr/HandsOffResult.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

// One row of the library's summary: the cases of one month, one device or all of them.
// Shares are 0..1; a share, quantile or median is none when no case (shock) of the group has
// the measure. Quartiles are taken between neighbouring values, as the median is.
struct LibraryStatsRow
{
    QString group;                               // "2021-03", or a serial number; "" when unknown (and for all)
    QString model;                               // of a device ("" for a month or all of them)
    int cases = 0;
    int shocks = 0;
    int casesWithCcf = 0;
    std::optional<double> medianCcf;             // over the cases with a CCF
    std::optional<double> lowerQuartileCcf;
    std::optional<double> upperQuartileCcf;
    std::optional<double> shareCcfAtTarget;      // of the cases with a CCF: CCF >= the target
    std::optional<double> shareShocksPreShockPauseAtMost10s; // of the shocks with a pre-shock pause
    std::optional<double> shareShocksPreShockPauseAtMost20s;
    // Over the shocks a pause holds, in ms: analysis start to its result, ready to the shock,
    // and the pause's start to the shock.
    std::optional<double> medianAnalysisMs;
    std::optional<double> medianToShockMs;
    std::optional<double> medianPreShockPauseMs;
    // Over the cases that have one, ms from power-on to the first analysis, shock and
    // compression; cases indexed before the first analysis and compression were kept count in
    // neither.
    std::optional<double> medianToFirstAnalysisMs;
    std::optional<double> medianToFirstShockMs;
    std::optional<double> medianToFirstCompressionMs;
    // The hands-off time no event explains ("other") of all the group's hands-off time; cases
    // indexed before it was kept count in neither.
    std::optional<double> shareHandsOffOther;
    // The mean of the cases' mean compression depths, inches; none without a case that has one.
    std::optional<double> meanDepthIn;
    // The group's hands-off time, whole and by cause (PauseCause order), ms; none when no case
    // of it has it.
    std::optional<int64_t> handsOffMs;
    std::optional<std::array<int64_t, PauseCauseCount>> handsOffByCauseMs;

    bool operator==(const LibraryStatsRow &) const = default;
};

// How the summary groups the cases: by month, by device, or all in one row (which is there
// also when the filter takes no case).
enum class LibraryGrouping { Month, Device, All };

// The CCF the summary's share counts up to, when nobody chose another.
inline constexpr double DefaultLibraryCcfTarget = 0.8;
