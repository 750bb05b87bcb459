#pragma once

#include "base/CTime.h"

#include <cstdint>

class BinaryReader;
class BinaryWriter;

// Time values of the archive: seconds since 1970-01-01 00:00:00 UTC, 0 for a missing time.
namespace AedTime {

// Written first, it tells the 12-byte form from the older 4-byte one.
constexpr uint32_t Marker = 0x8000000A;

// Starts a case can have: from 1970-01-01 up to, not including, 2100-01-01 (UTC). A start
// outside them read from a file is an invalid start, never shifted or shown.
constexpr int64_t FirstStart = 0;
constexpr int64_t EndOfStarts = 4102444800;
constexpr bool isPlausibleStart(CTime time) { return time.GetTime() >= FirstStart && time.GetTime() < EndOfStarts; }

// The marker, then a signed 64-bit count of seconds.
void write(BinaryWriter &out, CTime time);
// The 12-byte form, or else the older form: the 4 bytes are a signed 32-bit count.
CTime read(BinaryReader &in);

} // namespace AedTime
