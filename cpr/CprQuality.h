#pragma once

#include "cpr/CprQualityInput.h"
#include "cpr/CprQualityResult.h"
#include "cpr/CprQualitySettings.h"

#include <QString>
#include <cstdint>

// The CPR quality measures of one case.
//
// Compressions are taken in time order (a stable sort); one at the same time as the one
// before is the same compression, and the first of them is kept. A gap between two
// consecutive compressions is in-run when shorter than the pause threshold P, else a
// pause. The compression time is the sum of the in-run gaps, the analysed span runs from
// the first compression to the last, and the compression fraction (CCF) is their ratio.
// The rate is counted from in-run gaps, the depth from every compression. A pause from a to
// b holds a time t when a < t < b. Linear in the number of compressions (and minutes) when
// they come in time order, as the sensor writes them.
CprQualityResult measureCprQuality(const CprQualityInput &input, const CprQualitySettings &settings);

// Depth on the feedback scale in inches: 50 is 2.0 in, 60 is 2.4 in.
double depthInches(int32_t depth);
double inchesToCm(double inches);

// "peri-shock", "analysis" or "other".
QString pauseKindName(CprPauseKind kind);
