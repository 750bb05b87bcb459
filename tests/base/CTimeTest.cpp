#include "base/CTime.h"

#include <gtest/gtest.h>

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

TEST(CTime, LocalFieldsFollowTheProcessZone)
{
    // Tests run with TZ=Europe/Rome: 2021-03-07 09:05:00 local is 08:05:00 UTC.
    const CTime t(2021, 3, 7, 9, 5, 0);
    EXPECT_EQ(t.GetTime(), 1615104300);
    EXPECT_EQ(t.GetHour(), 9);
    EXPECT_EQ(t.Format("%Y-%m-%d %H:%M:%S"), "2021-03-07 09:05:00");
    // Summer time is decided by the C library.
    EXPECT_EQ(CTime(2021, 7, 1, 12, 0, 0).GetTime() - CTime(2021, 7, 1, 0, 0, 0).GetTime(), 12 * 3600);
    EXPECT_EQ(CTime(2021, 7, 1, 12, 0, 0).GetTime(), 1625133600);
}
