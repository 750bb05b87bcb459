#pragma once

#include "base/ReviewerIdentity.h"
#include "case/ReviewLock.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

#include <sys/types.h>

// The review lock as a file beside the archive, ".~<archive file name>.lock", for cases kept
// without a shared case library. The file names the reviewer, host, process and since when
// it is held (readable by everyone: it holds no patient data); its modification time is the
// holder's heartbeat, touched by renew().
//
// It is made with O_EXCL and never through a symbolic link; the only file it ever removes
// that this object did not make is a stale lock it takes over. What counts as one is kept
// narrow: a regular file of at most MaxBytes that either reads as a lock (and is stale by
// its holder's process or heartbeat) or is empty / unreadable and has not been touched for
// StaleSeconds. Anything else at the name (a link, a folder, a large file) is not a lock
// this program could have made: the lock cannot be asked for (Failed) and the file stays.
class CaseLockFile : public ReviewLock
{
public:
    // Seconds since the epoch, UTC.
    using Clock = std::function<int64_t()>;
    static constexpr qint64 MaxBytes = 4096;

    // What is known of the holder's process.
    enum class Process { Alive, Gone, Unknown };

    CaseLockFile(const QString &archivePath, ReviewerIdentity me, Clock now = {});
    ~CaseLockFile() override;
    CaseLockFile(const CaseLockFile &) = delete;
    CaseLockFile &operator=(const CaseLockFile &) = delete;

    Outcome take(bool takeOverStale, LockHolder &holder, QString &why) override;
    bool renew() override;
    void release() override;

    // "/cases/Q25_0001.aed" -> "/cases/.~Q25_0001.aed.lock".
    static QString pathFor(const QString &archivePath);
    QString path() const { return m_path; }

    // The file's contents for a holder (reviewer, host, process, since) and back; nullopt for
    // anything that is not a whole lock (garbage, a foreign file, an empty one being written).
    static QByteArray format(const LockHolder &holder);
    static std::optional<LockHolder> parse(const QByteArray &contents);

    // Whether a lock is stale: its process is gone on this very host, or its last sign of
    // life (holder.renewed) is StaleSeconds or more before now. A holder that cannot be
    // read (empty host) is stale only by age.
    static bool isStale(const LockHolder &holder, const QString &thisHost, int64_t now, Process process);
    // What kill(pid, 0) says of a process; Unknown for a pid no process can have.
    static Process processState(int64_t pid);

private:
    // What was found at the lock's name.
    struct Found
    {
        enum class Kind { Missing, Lock, NotALock } kind = Kind::Missing;
        LockHolder holder;
        QByteArray contents;
        dev_t device = 0;
        ino_t inode = 0;
        int64_t mtimeNs = 0;
        QString why; // NotALock: what it is
    };
    Found inspect() const;
    Outcome create(LockHolder &holder, QString &why);
    // Moves the stale file found out of the way; true when the name is free of it.
    bool removeStale(const Found &stale, QString &why);
    bool stillOurs() const;
    int64_t now() const;

    QString m_path;
    ReviewerIdentity m_me;
    Clock m_now;
    int m_fd = -1; // the file we made, open while we hold it
    dev_t m_device = 0;
    ino_t m_inode = 0;
    QByteArray m_contents;
};
