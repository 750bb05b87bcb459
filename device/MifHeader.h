#pragma once

#include "base/CTime.h"

#include <cstdint>

class CC8Class;

// The power-on date and time of the ECG header.
namespace MifHeader {

// The device writes years 2016..2024 as 0..8; they are stored as 16..24.
uint8_t CorrectedYear(uint8_t headerYear);
// Month 1..12, day 1..31 (any month), hour 0..23, minute and second 0..59.
bool IsValid(const CC8Class &fileSet);
// Local date and time of the header (year 2000 + headerYear), daylight saving decided
// by the C library; an impossible day rolls over into the next month.
CTime StartTime(const CC8Class &fileSet);

} // namespace MifHeader
