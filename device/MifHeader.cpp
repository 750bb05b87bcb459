#include "device/MifHeader.h"

#include "case/CC8Class.h"

namespace MifHeader {

uint8_t CorrectedYear(uint8_t headerYear)
{
    return headerYear < 9 ? uint8_t(headerYear + 16) : headerYear;
}

bool IsValid(const CC8Class &f)
{
    // Any year byte gives a year of 2000 or later, so only the other fields can fail.
    return f.headerMonth >= 1 && f.headerMonth <= 12 && f.headerDay >= 1
        && f.headerDay <= 31 && f.headerHour <= 23 && f.headerMinute <= 59 && f.headerSecond <= 59;
}

CTime StartTime(const CC8Class &f)
{
    return CTime(2000 + f.headerYear, f.headerMonth, f.headerDay, f.headerHour, f.headerMinute, f.headerSecond);
}

} // namespace MifHeader
