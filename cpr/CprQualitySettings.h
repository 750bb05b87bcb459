#pragma once

#include <cstdint>

// What the CPR quality review measures against: the pause threshold and the targets the
// reviewer has set. Defaults follow the resuscitation guidelines.
struct CprQualitySettings
{
    static constexpr int32_t MinPauseThresholdMs = 1000;
    static constexpr int32_t MaxPauseThresholdMs = 5000;

    int32_t pauseThresholdMs = 2000; // a gap between compressions of this or more is a pause
    double ccfTarget = 0.80;         // compression fraction to reach, 0..1
    int32_t rateMinPerMin = 100;     // compression rate band, per minute (both bounds in the band)
    int32_t rateMaxPerMin = 120;
    double depthMinIn = 2.0;         // depth band, inches (both bounds in the band)
    double depthMaxIn = 2.4;
    int32_t preShockPauseMaxMs = 10000;
    int32_t postShockPauseMaxMs = 10000;

    bool operator==(const CprQualitySettings &) const = default;
};
