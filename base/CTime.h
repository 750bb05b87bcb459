#pragma once

#include <QString>
#include <cstdint>

class QDateTime;

// A span of time in whole seconds. Day, hour, minute and second parts are taken by
// truncating division, so -1 s is 0 h 0 min -1 s.
class CTimeSpan
{
public:
    constexpr CTimeSpan() = default;
    constexpr explicit CTimeSpan(int64_t seconds) : m_seconds(seconds) {}
    constexpr CTimeSpan(int64_t days, int hours, int minutes, int seconds)
        : m_seconds(((days * 24 + hours) * 60 + minutes) * 60 + seconds) {}

    constexpr int64_t GetTotalSeconds() const { return m_seconds; }
    constexpr int64_t GetTotalMinutes() const { return m_seconds / 60; }
    constexpr int64_t GetTotalHours() const { return m_seconds / 3600; }
    constexpr int64_t GetDays() const { return m_seconds / 86400; }
    // Hours within the day, minutes within the hour, seconds within the minute.
    constexpr int GetHours() const { return int(GetTotalHours() - GetDays() * 24); }
    constexpr int GetMinutes() const { return int(GetTotalMinutes() - GetTotalHours() * 60); }
    constexpr int GetSeconds() const { return int(m_seconds - GetTotalMinutes() * 60); }

    constexpr CTimeSpan operator+(CTimeSpan o) const { return CTimeSpan(m_seconds + o.m_seconds); }
    constexpr CTimeSpan operator-(CTimeSpan o) const { return CTimeSpan(m_seconds - o.m_seconds); }
    constexpr CTimeSpan &operator+=(CTimeSpan o) { m_seconds += o.m_seconds; return *this; }
    constexpr CTimeSpan &operator-=(CTimeSpan o) { m_seconds -= o.m_seconds; return *this; }
    constexpr auto operator<=>(const CTimeSpan &) const = default;

private:
    int64_t m_seconds = 0;
};

// An absolute time: seconds since 1970-01-01 00:00:00 UTC. Its calendar fields are those
// of the device's clock (DeviceClockFields), whatever zone the computer is set to.
class CTime
{
public:
    constexpr CTime() = default;
    constexpr explicit CTime(int64_t epochSeconds) : m_time(epochSeconds) {}
    // Calendar fields on the device's clock (DeviceClockTime).
    CTime(int year, int month, int day, int hour, int minute, int second);

    static CTime GetCurrentTime();

    constexpr int64_t GetTime() const { return m_time; }
    int GetYear() const;
    int GetMonth() const;      // 1..12
    int GetDay() const;        // 1..31
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;  // 1 = Sunday .. 7 = Saturday

    // strftime-style formatting of the device clock's fields ("%Y-%m-%d %H:%M:%S").
    QString Format(const char *format) const;

    constexpr CTime operator+(CTimeSpan s) const { return CTime(m_time + s.GetTotalSeconds()); }
    constexpr CTime operator-(CTimeSpan s) const { return CTime(m_time - s.GetTotalSeconds()); }
    constexpr CTimeSpan operator-(CTime o) const { return CTimeSpan(m_time - o.m_time); }
    constexpr CTime &operator+=(CTimeSpan s) { m_time += s.GetTotalSeconds(); return *this; }
    constexpr CTime &operator-=(CTimeSpan s) { m_time -= s.GetTotalSeconds(); return *this; }
    constexpr auto operator<=>(const CTime &) const = default;

private:
    int64_t m_time = 0;
};

// The device's clock: UTC+09:00 all year, without daylight-saving time. The devices keep
// their calendar in it, and the program shows every time in it (a case opened for
// another zone has its start moved by ShiftStartToZone), so an archive shows the same
// times on every computer. Every conversion between calendar fields and a CTime goes
// through DeviceClockFields and DeviceClockTime; the process's TZ is never used.
constexpr int32_t DeviceClockOffsetMinutes = 540;

struct CalendarFields
{
    int year;
    int month;     // 1..12
    int day;       // 1..31
    int hour;
    int minute;
    int second;
    int dayOfWeek; // 1 = Sunday .. 7 = Saturday
};

// The calendar fields of t on the device's clock. A year beyond int's range saturates.
CalendarFields DeviceClockFields(CTime t);
// The time the device's clock reads as these fields. Fields out of their range carry
// over as mktime does (month 13 is January of the next year, second 60 the next minute).
CTime DeviceClockTime(int year, int month, int day, int hour, int minute, int second);

// For date and time editors: the device clock's reading of t as a QDateTime in Qt::UTC
// (the editor shows its fields as they are), and back from an editor's date and time.
QDateTime DeviceClockDateTime(CTime t);
CTime DeviceClockTime(const QDateTime &reading);
