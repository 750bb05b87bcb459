#pragma once

#include <QString>
#include <optional>

// One row of the library's summary: the cases of one month or one device. Shares are 0..1;
// a share or median is none when no case (shock) of the group has the measure.
struct LibraryStatsRow
{
    QString group;                               // "2021-03", or a serial number; "" when unknown
    int cases = 0;
    int shocks = 0;
    std::optional<double> medianCcf;             // over the cases with a CCF
    std::optional<double> shareCcfAtLeast80;     // of the cases with a CCF
    std::optional<double> shareShocksPreShockPauseAtMost10s; // of the shocks with a pre-shock pause
    // Over the shocks a pause holds, in ms: analysis start to its result, ready to the shock,
    // and the pause's start to the shock.
    std::optional<double> medianAnalysisMs;
    std::optional<double> medianToShockMs;
    std::optional<double> medianPreShockPauseMs;
    // The hands-off time no event explains ("other") of all the group's hands-off time; cases
    // indexed before it was kept count in neither.
    std::optional<double> shareHandsOffOther;
    // The mean of the cases' mean compression depths, inches; none without a case that has one.
    std::optional<double> meanDepthIn;
};

// How the summary groups the cases.
enum class LibraryGrouping { Month, Device };
