#include "library/LibraryReviewLock.h"

#include "library/CaseLibrary.h"

LibraryReviewLock::LibraryReviewLock(const LibraryLocation &location, const QString &recordingId,
                                     const ReviewerIdentity &who)
    : m_location(location), m_recordingId(recordingId), m_who(who)
{
}

LibraryReviewLock::~LibraryReviewLock()
{
    release();
}

ReviewLock::Outcome LibraryReviewLock::take(bool takeOverStale, LockHolder &holder, QString &why)
{
    if (!m_library) {
        m_library = std::make_unique<CaseLibrary>(m_location);
        if (!m_library->open()) {
            why = m_library->errorText();
            m_library.reset();
            return Outcome::Failed;
        }
    }
    const Outcome outcome = m_library->takeLock(m_recordingId, m_who, takeOverStale, holder);
    if (outcome == Outcome::Failed)
        why = m_library->errorText();
    if (outcome == Outcome::Taken) {
        m_held = true;
        m_since = holder.since;
    }
    return outcome;
}

bool LibraryReviewLock::renew()
{
    if (!m_held || !m_library)
        return false;
    // A library that cannot be reached now is tried again at the next renewal; the lock is
    // lost only when another reviewer holds it.
    if (m_library->renewLock(m_recordingId, m_who, m_since))
        return true;
    if (!m_library->errorText().isEmpty()) {
        if (!m_library->open())
            return true;
        if (m_library->renewLock(m_recordingId, m_who, m_since) || !m_library->errorText().isEmpty())
            return true;
    }
    m_held = false;
    return false;
}

void LibraryReviewLock::release()
{
    if (m_held && m_library)
        m_library->releaseLock(m_recordingId, m_who, m_since);
    m_held = false;
}
