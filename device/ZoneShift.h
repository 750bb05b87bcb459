#pragma once

#include "base/CTime.h"

// Start times are kept in the device's own clock (UTC+09:00, DeviceClockOffsetMinutes);
// a case is shown in the zone chosen when it is opened.

// startTime moved by the chosen row's offset minus 540 minutes (later for a zone east of
// UTC+09:00, earlier for one west of it). A row outside the table counts as UTC+00:00.
CTime ShiftStartToZone(CTime startTime, int timeZoneIndex);
