#pragma once

#include <QString>
#include <cstdint>

// Who holds a case's review lock, and since when (epoch seconds, UTC).
struct LockHolder
{
    QString reviewer;
    QString host;
    int64_t processId = 0;
    int64_t since = 0;
    int64_t renewed = 0; // the holder's last sign of life
};

// One editor at a time: the lock a case's reviewer holds while the case is open for editing.
// It is kept in a shared case library when there is one, else in a file beside the archive.
// A lock whose holder gave no sign of life for StaleSeconds (or whose process is gone on this
// host) is stale and may be taken over.
class ReviewLock
{
public:
    static constexpr int64_t RenewSeconds = 30;
    static constexpr int64_t StaleSeconds = 120;

    enum class Outcome {
        Taken,    // this process holds the lock now
        Held,     // another reviewer holds it (holder says who)
        Stale,    // another reviewer held it but gave no sign of life: it may be taken over
        Failed,   // the lock could not be asked for (why says so)
    };

    virtual ~ReviewLock() = default;

    // Asks for the lock; with takeOverStale a stale lock of another holder is replaced.
    virtual Outcome take(bool takeOverStale, LockHolder &holder, QString &why) = 0;
    // Shows the holder is alive (every RenewSeconds); false when the lock is no longer ours.
    virtual bool renew() = 0;
    // Gives the lock up (only when it is still ours). Also done by the destructor.
    virtual void release() = 0;
};
