#include "device/ZoneShift.h"

#include "device/TimeZoneTable.h"

CTime ShiftStartToZone(CTime startTime, int timeZoneIndex)
{
    const int64_t minutes = int64_t(TimeZoneTable::offsetOfRow(timeZoneIndex)) - DeviceClockOffsetMinutes;
    return startTime + CTimeSpan(minutes * 60);
}
