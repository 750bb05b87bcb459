#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>

// The time zones offered by the Open dialog: 179 rows in a fixed order, each a name
// "City(Country) UTC..." and the offset written in that name. The offsets follow the
// names even where a country's real offset differs ("Quito(Ecuador) UTC+01:00" is 60):
// a row always means what the reviewer read when choosing it, and archives keep the row.
namespace TimeZoneTable {

constexpr int RowCount = 179;

// Row names in table order; timeZoneNames()[i] belongs to timeZoneOffsets()[i].
const QStringList &timeZoneNames();
// Minutes east of UTC per row, taken from the row names.
const QList<int32_t> &timeZoneOffsets();
// Offset of a row in minutes east of UTC; 0 for a row outside the table.
int32_t offsetOfRow(int row);

// Minutes east of UTC written in a name: "UTC+05:45" -> 345, "UTC-04:30" -> -270,
// "UTC(+09:00)" -> 540; "UTC(GMT)", "UTC(WET)" and anything unreadable -> 0.
int32_t offsetFromName(QStringView name);

// The computer's standard-time offset from UTC in minutes east (daylight saving not
// counted), from the C library's zone of the process (TZ).
int32_t localZoneOffset();

// The row the Open dialog selects for a computer at localOffset: the first row with that
// offset, except that a match in row 0 lets the next match win; no match gives row 0.
int preselectedRow(int32_t localOffset);

// The first row at the device clock's offset (UTC+09:00): a case opened with it keeps the
// start its device recorded, the same on every computer.
int deviceClockRow();

} // namespace TimeZoneTable
