#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Points the temporary location (and so the report folder) at a folder of the test for
// as long as it lives.
class ScopedTempLocation
{
public:
    explicit ScopedTempLocation(const QString &folder)
        : m_had(qEnvironmentVariableIsSet("TMPDIR")), m_old(qgetenv("TMPDIR"))
    {
        qputenv("TMPDIR", folder.toLocal8Bit());
    }
    ~ScopedTempLocation()
    {
        if (m_had)
            qputenv("TMPDIR", m_old);
        else
            qunsetenv("TMPDIR");
    }
    ScopedTempLocation(const ScopedTempLocation &) = delete;
    ScopedTempLocation &operator=(const ScopedTempLocation &) = delete;

private:
    bool m_had;
    QByteArray m_old;
};
