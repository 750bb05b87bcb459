#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

// A small file system of its own for one test: a tmpfs of a given size, which can be made
// read-only. Only root may mount; elsewhere isMounted() is false and the test says why it
// skips (or falls back to folder permissions, which root ignores).
class ScratchMount
{
public:
    explicit ScratchMount(qint64 bytes)
    {
        if (::geteuid() != 0 || !m_dir.isValid())
            return;
        const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
        m_mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~ScratchMount()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    ScratchMount(const ScratchMount &) = delete;
    ScratchMount &operator=(const ScratchMount &) = delete;

    static QString skipReason() { return QStringLiteral("mounting a scratch tmpfs needs root"); }

    bool isMounted() const { return m_mounted; }
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }

    // Nothing can be written below path() any more, not even by root.
    bool makeReadOnly()
    {
        return m_mounted
            && ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

// A folder nothing can be written into: a read-only scratch mount for root, a folder
// without write permission for anyone else. Fill it with fill(path()) before it is
// locked; the lock is lifted when the object goes.
class ReadOnlyFolder
{
public:
    template <typename Fill>
    explicit ReadOnlyFolder(Fill fill) : m_mount(64 << 20)
    {
        m_path = m_mount.isMounted() ? m_mount.path() : m_plain.path();
        fill(m_path);
        m_locked = m_mount.isMounted() ? m_mount.makeReadOnly() : ::chmod(QFile::encodeName(m_path).constData(), 0555) == 0;
        // Root ignores the permission bits: where it may not mount either, nothing is locked.
        QFile probe(m_path + QStringLiteral("/.write-probe"));
        if (m_locked && probe.open(QIODevice::WriteOnly)) {
            probe.close();
            probe.remove();
            m_locked = false;
        }
    }
    static QString skipReason() { return QStringLiteral("no folder can be made read-only here (root without mount)"); }
    ~ReadOnlyFolder()
    {
        if (!m_mount.isMounted())
            ::chmod(QFile::encodeName(m_path).constData(), 0755);
    }
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    bool isLocked() const { return m_locked; }
    QString path() const { return m_path; }

private:
    ScratchMount m_mount;
    QTemporaryDir m_plain;
    QString m_path;
    bool m_locked = false;
};
