#pragma once

#include "library/LibraryCase.h"
#include "library/LibraryFilter.h"

#include <QString>

// A hand-made library row: the facts the filters and the summary look at, the rest plain. It
// starts at noon of its day on the device's clock.
inline LibraryCase libraryRow(const QString &path, const QString &day, const QString &serial,
                              std::optional<double> ccf, int shocks = 0)
{
    LibraryCase c;
    c.path = path;
    c.sizeBytes = 1000;
    c.modifiedMs = 1600000000000;
    c.sha256 = QString(64, QLatin1Char('0'));
    c.model = QStringLiteral("Q25");
    c.serialNumber = serial;
    c.startTimeValid = !day.isEmpty();
    c.startDay = day;
    c.startMonth = day.left(7);
    if (c.startTimeValid)
        c.startTime = libraryDayStart(day, DeviceClockOffsetMinutes) + 12 * 3600;
    c.ccf = ccf;
    c.indexedAt = 1700000000;
    for (int i = 0; i < shocks; ++i)
        c.shocks.push_back({60000 * (i + 1), 150.0, {}, {}, {}, {}, {}, {}});
    c.shockCount = shocks;
    return c;
}
