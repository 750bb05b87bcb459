#pragma once

#include <array>
#include <cstdint>

// The fields the program reads from one 2668-byte trend block of the device. Times are
// case times in ms; the bytes not listed carry nothing the program uses.
struct TrendBlockRecord
{
    struct Event
    {
        int32_t code = 0;   // 0 marks an empty entry
        int32_t timeMs = 0;
    };
    struct Pads
    {
        uint32_t offMs = 0; // pads taken off; 0 = none
        uint32_t onMs = 0;  // pads put on; 0 = none
        uint32_t type = 0;  // 1 adult, 2 pediatric
    };

    std::array<Event, 100> events{};  // offset 0
    std::array<Pads, 50> pads{};      // offset 800
    uint32_t powerOffMs = 0;          // offset 1400; meaningful only in 1..2147483647
    int32_t mode = 0;                 // offset 1404; 0 and 2 change some texts
    int32_t shockMs = 0;              // offset 1412; 0 = no shock in this block
    int32_t impedanceOhm = 0;         // offset 1424; patient impedance (BI)
    uint32_t energyTenthsJ = 0;       // offset 2664

    // Reads a block from its 2668 bytes, little-endian.
    static TrendBlockRecord read(const char *block);

    // The power-off time when the block has one (1..2147483647), else 0.
    int32_t powerOffTime() const;
};
