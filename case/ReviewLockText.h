#pragma once

#include "case/ReviewLock.h"

#include <QDateTime>
#include <QDir>
#include <QString>

// Texts of the review lock: who holds a case, the questions before it opens, and what
// happens when the lock cannot be had or is lost.
namespace ReviewLockText {

// An epoch-seconds time as this computer's local date and time.
inline QString localTime(int64_t epochSeconds)
{
    return QDateTime::fromSecsSinceEpoch(epochSeconds).toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

inline QString heldBy(const LockHolder &holder)
{
    return QStringLiteral("%1 is reviewing this case on %2 since %3")
        .arg(holder.reviewer, holder.host, localTime(holder.since));
}

// stale: the holder has given no sign of life, so "No" goes on to offer taking the lock over.
inline QString openReadOnlyQuestion(const LockHolder &holder, bool stale = false)
{
    return heldBy(holder)
           + (stale ? QStringLiteral(".\n\nOpen it read-only? (No: you may take over the lock next.)")
                    : QStringLiteral(".\n\nOpen it read-only? (No: the case is not opened.)"));
}

inline QString takeOverQuestion(const LockHolder &holder)
{
    return QStringLiteral("%1 has given no sign of life since %2. Take over the lock and open the case for editing?")
        .arg(holder.reviewer, localTime(holder.renewed));
}

inline QString notLockedWarning(const QString &archivePath, const QString &why)
{
    return QStringLiteral("%1 could not be locked for your review: %2\nThe case opens for editing, but another "
                          "reviewer may change it at the same time.")
        .arg(QDir::toNativeSeparators(archivePath), why);
}

inline QString lockLostText(const QString &archivePath)
{
    return QStringLiteral("Another reviewer has taken over the review lock of %1. The case is read-only now; "
                          "changes not saved cannot be saved to it any more.")
        .arg(QDir::toNativeSeparators(archivePath));
}

// Added to the window's title while a read-only case is shown.
inline QString readOnlyMark()
{
    return QStringLiteral("(read-only)");
}

} // namespace ReviewLockText
