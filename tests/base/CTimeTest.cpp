#include "base/CTime.h"
#include "support/ScopedTimeZone.h"

#include <QDateTime>
#include <gtest/gtest.h>

#include <limits>
#include <tuple>

TEST(CTimeSpan, PartsTruncateTowardZero)
{
    struct Case { int64_t seconds; int64_t days; int hours, minutes, secs; };
    const Case cases[] = {
        {-1, 0, 0, 0, -1},
        {3725, 0, 1, 2, 5},
        {90000, 1, 1, 0, 0},
        {-3725, 0, -1, -2, -5},
    };
    for (const auto &c : cases) {
        const CTimeSpan s(c.seconds);
        EXPECT_EQ(s.GetDays(), c.days) << c.seconds;
        EXPECT_EQ(s.GetHours(), c.hours) << c.seconds;
        EXPECT_EQ(s.GetMinutes(), c.minutes) << c.seconds;
        EXPECT_EQ(s.GetSeconds(), c.secs) << c.seconds;
    }
}

TEST(CTime, CalendarFieldsAreTheDeviceClockWhateverTheComputersZone)
{
    // 2021-03-07 09:05:00 on the device's UTC+09:00 clock is 00:05:00 UTC, on every computer.
    for (const char *zone : {"Asia/Seoul", "America/New_York", "Europe/Rome", "UTC", "Australia/Lord_Howe"}) {
        ScopedTimeZone scoped(zone);
        const CTime t(2021, 3, 7, 9, 5, 0);
        EXPECT_EQ(t.GetTime(), 1615075500) << zone;
        EXPECT_EQ(t.GetHour(), 9) << zone;
        EXPECT_EQ(t.GetDayOfWeek(), 1) << zone; // a Sunday
        EXPECT_EQ(t.Format("%Y-%m-%d %H:%M:%S"), "2021-03-07 09:05:00") << zone;
        // No daylight-saving time: noon is 12 hours after midnight on any day.
        EXPECT_EQ(CTime(2021, 3, 28, 12, 0, 0) - CTime(2021, 3, 28, 0, 0, 0), CTimeSpan(12 * 3600)) << zone;
        EXPECT_EQ(CTime(2021, 7, 1, 12, 0, 0).GetTime(), 1625108400) << zone;
        // A time the computer's own clock skips or repeats is an ordinary time here.
        EXPECT_EQ(CTime(2021, 3, 28, 2, 30, 0).GetHour(), 2) << zone;
        EXPECT_EQ(CTime(2021, 11, 7, 1, 30, 0).GetTime() + 3600, CTime(2021, 11, 7, 2, 30, 0).GetTime()) << zone;
    }
}

TEST(CTime, FieldsOutOfRangeCarryOverAsTheCLibraryDoes)
{
    struct Case { int year, month, day, hour, minute, second; const char *reads; };
    const Case cases[] = {
        {2021, 13, 1, 0, 0, 0, "2022-01-01 00:00:00"},
        {2021, 0, 1, 0, 0, 0, "2020-12-01 00:00:00"},
        {2021, 3, 0, 0, 0, 0, "2021-02-28 00:00:00"},
        {2020, 2, 30, 0, 0, 0, "2020-03-01 00:00:00"},
        {2021, 3, 7, 24, 0, 60, "2021-03-08 00:01:00"},
        {2021, 3, 7, -1, -1, -1, "2021-03-06 22:58:59"},
        {2021, -11, 1, 0, 0, 0, "2020-01-01 00:00:00"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CTime(c.year, c.month, c.day, c.hour, c.minute, c.second).Format("%Y-%m-%d %H:%M:%S"), c.reads)
            << c.year << "-" << c.month << "-" << c.day << " " << c.hour << ":" << c.minute << ":" << c.second;
}

TEST(CTime, DeviceClockAgreesWithQtsFixedOffsetOverCenturies)
{
    // Qt's own UTC+09:00 conversion is the reference, from 1600 to 2400, negative times
    // included, leap days and century years on the way.
    uint64_t x = 88172645463325252u;
    for (int i = 0; i < 20000; ++i) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        const int64_t seconds = int64_t(x % 25245000000u) - 11676000000;
        const QDateTime reference = QDateTime::fromSecsSinceEpoch(seconds, Qt::OffsetFromUTC, 9 * 3600);
        const CalendarFields f = DeviceClockFields(CTime(seconds));
        const QDate d = reference.date();
        const QTime t = reference.time();
        ASSERT_EQ(std::tuple(f.year, f.month, f.day, f.hour, f.minute, f.second, f.dayOfWeek),
                  std::tuple(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), d.dayOfWeek() % 7 + 1))
            << seconds;
        ASSERT_EQ(DeviceClockTime(f.year, f.month, f.day, f.hour, f.minute, f.second).GetTime(), seconds) << seconds;
    }
    // The ends of the range neither overflow nor wrap.
    for (const int64_t extreme : {std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max()}) {
        const CalendarFields f = DeviceClockFields(CTime(extreme));
        EXPECT_TRUE(f.month >= 1 && f.month <= 12 && f.day >= 1 && f.day <= 31 && f.hour < 24) << extreme;
    }
}

TEST(CTime, DateTimeEditorsShowAndGiveTheDeviceClock)
{
    ScopedTimeZone zone("America/New_York");
    const CTime t(2021, 3, 14, 2, 30, 15); // a time New York's clock skips
    const QDateTime shown = DeviceClockDateTime(t);
    EXPECT_EQ(shown.toString("yyyy-MM-dd HH:mm:ss"), "2021-03-14 02:30:15");
    EXPECT_EQ(DeviceClockTime(shown), t);
    EXPECT_EQ(DeviceClockTime(QDateTime(QDate(1960, 5, 4), QTime(0, 0), Qt::UTC)), CTime(1960, 5, 4, 0, 0, 0));
}
