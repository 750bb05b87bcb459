#pragma once

#include <cstdint>

// A CPR period in case time (ms since power-on), from the device records or marked by
// the reviewer.
struct CprPeriod
{
    int32_t startMs = 0;
    int32_t endMs = 0;
};
