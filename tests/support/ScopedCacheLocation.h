#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Points the user's cache location (and so the incident-log folder) at a folder of the
// test for as long as it lives.
class ScopedCacheLocation
{
public:
    explicit ScopedCacheLocation(const QString &folder)
        : m_had(qEnvironmentVariableIsSet("XDG_CACHE_HOME")), m_old(qgetenv("XDG_CACHE_HOME"))
    {
        qputenv("XDG_CACHE_HOME", folder.toLocal8Bit());
    }
    ~ScopedCacheLocation()
    {
        if (m_had)
            qputenv("XDG_CACHE_HOME", m_old);
        else
            qunsetenv("XDG_CACHE_HOME");
    }
    ScopedCacheLocation(const ScopedCacheLocation &) = delete;
    ScopedCacheLocation &operator=(const ScopedCacheLocation &) = delete;

private:
    bool m_had;
    QByteArray m_old;
};
