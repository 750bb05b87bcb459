#include "base/CTime.h"

#include <QDateTime>
#include <algorithm>
#include <climits>
#include <ctime>

namespace {

constexpr int64_t SecondsPerDay = 86400;
constexpr int64_t DeviceClockOffsetSeconds = int64_t(DeviceClockOffsetMinutes) * 60;

int64_t floorDiv(int64_t a, int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

// Days from 1970-01-01 to the first of a month of the proleptic Gregorian calendar
// (month 1..12), counted in eras of 400 years so that any year works.
int64_t daysFromCivil(int64_t year, int month)
{
    year -= month <= 2 ? 1 : 0;
    const int64_t era = floorDiv(year, 400);
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

struct CivilDate
{
    int64_t year;
    int month;
    int day;
};

CivilDate civilFromDays(int64_t days)
{
    days += 719468;
    const int64_t era = floorDiv(days, 146097);
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const int day = int(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const int month = int(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

} // namespace

CalendarFields DeviceClockFields(CTime t)
{
    // Days and seconds are split before the offset is added, so no time overflows.
    int64_t days = t.GetTime() / SecondsPerDay;
    int64_t secondOfDay = t.GetTime() % SecondsPerDay;
    if (secondOfDay < 0) {
        secondOfDay += SecondsPerDay;
        --days;
    }
    secondOfDay += DeviceClockOffsetSeconds;
    if (secondOfDay >= SecondsPerDay) {
        secondOfDay -= SecondsPerDay;
        ++days;
    }
    const CivilDate date = civilFromDays(days);
    // 1970-01-01 was a Thursday, weekday 4 when Sunday is 0.
    const int64_t weekday = days + 4 - floorDiv(days + 4, 7) * 7;
    return {int(std::clamp<int64_t>(date.year, INT_MIN, INT_MAX)), date.month, date.day, int(secondOfDay / 3600),
            int(secondOfDay / 60 % 60), int(secondOfDay % 60), int(weekday) + 1};
}

CTime DeviceClockTime(int year, int month, int day, int hour, int minute, int second)
{
    const int64_t monthIndex = int64_t(month) - 1;
    const int64_t wholeYear = int64_t(year) + floorDiv(monthIndex, 12);
    const int monthOfYear = int(monthIndex - floorDiv(monthIndex, 12) * 12) + 1;
    const int64_t days = daysFromCivil(wholeYear, monthOfYear) + int64_t(day) - 1;
    return CTime(days * SecondsPerDay + int64_t(hour) * 3600 + int64_t(minute) * 60 + second
                 - DeviceClockOffsetSeconds);
}

QDateTime DeviceClockDateTime(CTime t)
{
    const CalendarFields f = DeviceClockFields(t);
    return QDateTime(QDate(f.year, f.month, f.day), QTime(f.hour, f.minute, f.second), Qt::UTC);
}

CTime DeviceClockTime(const QDateTime &reading)
{
    const QDate d = reading.date();
    const QTime t = reading.time();
    return DeviceClockTime(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second());
}

CTime::CTime(int year, int month, int day, int hour, int minute, int second)
    : m_time(DeviceClockTime(year, month, day, hour, minute, second).GetTime())
{
}

CTime CTime::GetCurrentTime()
{
    return CTime(int64_t(std::time(nullptr)));
}

int CTime::GetYear() const { return DeviceClockFields(*this).year; }
int CTime::GetMonth() const { return DeviceClockFields(*this).month; }
int CTime::GetDay() const { return DeviceClockFields(*this).day; }
int CTime::GetHour() const { return DeviceClockFields(*this).hour; }
int CTime::GetMinute() const { return DeviceClockFields(*this).minute; }
int CTime::GetSecond() const { return DeviceClockFields(*this).second; }
int CTime::GetDayOfWeek() const { return DeviceClockFields(*this).dayOfWeek; }

QString CTime::Format(const char *format) const
{
    const CalendarFields f = DeviceClockFields(*this);
    std::tm t{};
    t.tm_year = int(std::max<int64_t>(int64_t(f.year) - 1900, INT_MIN));
    t.tm_mon = f.month - 1;
    t.tm_mday = f.day;
    t.tm_hour = f.hour;
    t.tm_min = f.minute;
    t.tm_sec = f.second;
    t.tm_wday = f.dayOfWeek - 1;
    char buffer[256];
    const size_t n = std::strftime(buffer, sizeof buffer, format, &t);
    return QString::fromLocal8Bit(buffer, qsizetype(n));
}
