#pragma once

#include <cstdint>

// A stretch of ECG the reviewer selected for printing, in case time (ms since power-on).
struct EcgSegment
{
    int32_t startMs = 0;
    int32_t endMs = 0;
};
