#pragma once

#include "cpr/HandsOffResult.h"

#include <cstdint>

// How a cause of hands-off time is painted wherever it is shown (the ECG, the bar, the
// legend, printed reports). The colours differ in lightness as well as in hue, so that the
// steps that follow one another in a pause (until analysis, analysis, charge, to shock,
// after shock) stay apart in a greyscale print. A pause whose cause the reviewer set is
// hatched over its colour.
struct PauseCauseStyle
{
    uint32_t rgb = 0;  // 0xRRGGBB
    bool hatched = false;
};

PauseCauseStyle pauseCauseStyle(PauseCause cause, bool setByReviewer = false);
