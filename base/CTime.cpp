#include "base/CTime.h"

#include <ctime>

CTime::CTime(int year, int month, int day, int hour, int minute, int second, int dst)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = dst;
    m_time = int64_t(std::mktime(&t));
}

CTime CTime::GetCurrentTime()
{
    return CTime(int64_t(std::time(nullptr)));
}

CTime::LocalFields CTime::local() const
{
    std::tm t{};
    const std::time_t raw = std::time_t(m_time);
    localtime_r(&raw, &t);
    return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, t.tm_wday + 1};
}

int CTime::GetYear() const { return local().year; }
int CTime::GetMonth() const { return local().month; }
int CTime::GetDay() const { return local().day; }
int CTime::GetHour() const { return local().hour; }
int CTime::GetMinute() const { return local().minute; }
int CTime::GetSecond() const { return local().second; }
int CTime::GetDayOfWeek() const { return local().dayOfWeek; }

QString CTime::Format(const char *format) const
{
    std::tm t{};
    const std::time_t raw = std::time_t(m_time);
    localtime_r(&raw, &t);
    char buffer[256];
    const size_t n = std::strftime(buffer, sizeof buffer, format, &t);
    return QString::fromLocal8Bit(buffer, qsizetype(n));
}
