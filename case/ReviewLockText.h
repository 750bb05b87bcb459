#pragma once

#include "base/LanguagePack.h"
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

// Their numbers in the language pack.
constexpr int HeldBy = 475;              // "%1 is reviewing this case on %2 since %3."
constexpr int ReadOnlyOrTakeOver = 476;  // "Open it read-only? (No: you may take over the lock next.)"
constexpr int ReadOnlyOrNothing = 477;   // "Open it read-only? (No: the case is not opened.)"
constexpr int TakeOver = 478;            // "%1 has given no sign of life since %2. Take over ...?"
constexpr int NotLocked = 479;           // "%1 could not be locked for your review: %2"
constexpr int NotLockedRisk = 480;       // "The case opens for editing, but another reviewer may ..."
constexpr int LockLost = 481;            // "Another reviewer has taken over the review lock of %1. ..."
constexpr int ReadOnlyMark = 482;        // "(read-only)"

inline QString heldBy(const LanguagePack &texts, const LockHolder &holder)
{
    return texts.GetText(HeldBy).arg(holder.reviewer, holder.host, localTime(holder.since));
}

// stale: the holder has given no sign of life, so "No" goes on to offer taking the lock over.
inline QString openReadOnlyQuestion(const LanguagePack &texts, const LockHolder &holder, bool stale = false)
{
    return heldBy(texts, holder) + QStringLiteral("\n\n") + texts.GetText(stale ? ReadOnlyOrTakeOver : ReadOnlyOrNothing);
}

inline QString takeOverQuestion(const LanguagePack &texts, const LockHolder &holder)
{
    return texts.GetText(TakeOver).arg(holder.reviewer, localTime(holder.renewed));
}

inline QString notLockedWarning(const LanguagePack &texts, const QString &archivePath, const QString &why)
{
    return texts.GetText(NotLocked).arg(QDir::toNativeSeparators(archivePath), why) + QLatin1Char('\n')
           + texts.GetText(NotLockedRisk);
}

inline QString lockLostText(const LanguagePack &texts, const QString &archivePath)
{
    return texts.GetText(LockLost).arg(QDir::toNativeSeparators(archivePath));
}

// Added to the window's title while a read-only case is shown.
inline QString readOnlyMark(const LanguagePack &texts)
{
    return texts.GetText(ReadOnlyMark);
}

} // namespace ReviewLockText
