#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

// A temporary folder for one test, with helpers to write and read files in it.
class TempDir
{
public:
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }
    QString mkdir(const QString &name) const
    {
        QDir(m_dir.path()).mkpath(name);
        return m_dir.filePath(name);
    }
    QString write(const QString &name, const QByteArray &bytes) const
    {
        const QString p = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(p).path());
        QFile f(p);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return p;
    }
    QByteArray read(const QString &name) const
    {
        QFile f(m_dir.filePath(name));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }

private:
    QTemporaryDir m_dir;
};
