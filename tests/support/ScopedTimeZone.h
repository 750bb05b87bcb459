#pragma once

#include <QByteArray>
#include <cstdlib>
#include <ctime>

// Sets the process's TZ for one test and puts the previous value back afterwards.
class ScopedTimeZone
{
public:
    explicit ScopedTimeZone(const char *zone)
    {
        const char *old = std::getenv("TZ");
        m_hadOld = old != nullptr;
        if (m_hadOld)
            m_old = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone()
    {
        if (m_hadOld)
            setenv("TZ", m_old.constData(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone &) = delete;
    ScopedTimeZone &operator=(const ScopedTimeZone &) = delete;

private:
    QByteArray m_old;
    bool m_hadOld = false;
};
