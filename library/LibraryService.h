#pragma once

#include "library/LibraryIndexer.h"
#include "library/LibraryLocation.h"
#include "library/ReviewStatus.h"
#include "case/ReviewLock.h"

#include <QString>
#include <memory>
#include <optional>

class CaseLibrary;
class LanguagePack;
class Platform;

// The case library as the program uses it. It is opened on first use from the location the
// reviewer set; when it cannot be used, one message says so (once per location) and every
// later use quietly does nothing, so the program goes on working without it. Archives the
// program opens, imports or saves are indexed when the setting asks for it.
class LibraryService
{
public:
    LibraryService(LanguagePack &texts, Platform &platform);
    ~LibraryService();

    // The setting: "" for the file in the data folder, a PostgreSQL URL, or a SQLite file.
    const QString &locationText() const { return m_locationText; }
    // A new location closes the library; the next use opens the new one.
    void setLocationText(const QString &text);
    bool autoIndex = true;

    // The open library, or null after its one message.
    CaseLibrary *library();

    // Indexes one archive the program has just opened, imported or saved (when autoIndex);
    // an archive that cannot be read is left out without a word.
    void archiveTouched(const QString &path);

    // Adds the archives of a folder tree under a progress window with a Cancel button, then
    // shows what was done. Null summary when the library cannot be used.
    std::optional<LibraryAddSummary> addFolder(const QString &folder);

    // The review kept in the library; without a usable one these do nothing (its one message
    // was shown). Every entry names who is reviewing (ReviewerIdentity::current()).
    void audit(const QString &recordingId, const QString &archivePath, const QString &action,
               const QString &details = QString());
    // A case was opened for review: audited as opened, opened read-only, or with its stale lock
    // taken over; a new recording opened for editing moves to "in review".
    void caseOpened(const QString &recordingId, const QString &archivePath, bool readOnly, bool lockTakenOver);
    // The recording's review status; none without a library.
    std::optional<ReviewStatus> reviewStatus(const QString &recordingId);
    bool changeReviewStatus(const QString &recordingId, const QString &archivePath, const ReviewStatusChange &change);
    // The editing lock of a recording kept in the library when it is a team's server (a
    // connection of its own); null for a library on this computer, where the lock file beside
    // the archive keeps one editor at a time.
    std::unique_ptr<ReviewLock> serverLock(const QString &recordingId);

private:
    void reportOnce(const QString &why);
    // Gives the library up for this run after it refused, with its one message.
    void giveUp(const QString &why);

    LanguagePack &m_texts;
    Platform &m_platform;
    QString m_locationText;
    std::unique_ptr<CaseLibrary> m_library;
    std::unique_ptr<LibraryIndexer> m_indexer;
    bool m_unusable = false; // the message for this location was shown
};
