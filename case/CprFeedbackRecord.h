#pragma once

#include <cstdint>

// One chest compression measured by the CPR sensor.
struct CprFeedbackRecord
{
    int32_t timeMs = 0; // case time of the compression, ms since power-on
    int32_t depth = 0;  // compression depth on the CPR panel's scale (65 = full height)
};
