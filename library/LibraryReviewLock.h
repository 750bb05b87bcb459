#pragma once

#include "base/ReviewerIdentity.h"
#include "case/ReviewLock.h"
#include "library/LibraryLocation.h"

#include <memory>

class CaseLibrary;

// The editing lock of a recording kept in a team's case library: a row per recording with its
// holder and a heartbeat, so that reviewers on several computers see each other. The lock has
// a connection of its own, so it outlives a change of the program's library setting.
class LibraryReviewLock : public ReviewLock
{
public:
    LibraryReviewLock(const LibraryLocation &location, const QString &recordingId, const ReviewerIdentity &who);
    ~LibraryReviewLock() override;

    Outcome take(bool takeOverStale, LockHolder &holder, QString &why) override;
    bool renew() override;
    void release() override;

private:
    LibraryLocation m_location;
    QString m_recordingId;
    ReviewerIdentity m_who;
    std::unique_ptr<CaseLibrary> m_library;
    int64_t m_since = 0;
    bool m_held = false;
};
