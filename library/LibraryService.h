#pragma once

#include "library/AuditEntry.h"
#include "library/LibraryIndexer.h"
#include "library/LibraryLocation.h"
#include "library/PasswordStore.h"
#include "library/ReviewStatus.h"
#include "case/ReviewLock.h"

#include <QString>
#include <memory>
#include <optional>
#include <vector>

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
    // The zone whose days and clock times the library window shows and filters by: a row of
    // the Open dialog's time-zone table, -1 for the computer's zone.
    int zoneRow = -1;
    // Whether a server library's password is kept in the password store (the setting; the
    // password itself is never in the settings).
    bool rememberPassword = false;
    // Where remembered passwords are kept (the desktop keyring in the program); none: nothing
    // is remembered and libpq's own sources (PGPASSWORD, ~/.pgpass, PGSERVICE) are used.
    void setPasswordStore(std::unique_ptr<PasswordStore> store);
    // Asks the server library's password (not shown as typed) and remembers it; the library
    // connects with it from its next use. False when cancelled or when the location is not a
    // server; a store that cannot keep it is said once per run, and the password then serves
    // this run only.
    bool askAndRememberPassword();
    // Forgets the remembered password of the location.
    void forgetPassword();

    // The open library, or null after its one message.
    CaseLibrary *library();

    // Indexes one archive the program has just opened, imported or saved (when autoIndex);
    // an archive that cannot be read is left out without a word. reviewChanged: what its review
    // file adds to the facts changed (an adjusted start, a pause's cause), so an archive whose
    // bytes did not change is read again too.
    void archiveTouched(const QString &path, bool reviewChanged = false);

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
    // The same change for several recordings (ID and archive path) in one transaction.
    bool changeReviewStatuses(const QList<std::pair<QString, QString>> &recordings, const ReviewStatusChange &change);
    // The audit trail of one recording, oldest first; none without a library.
    std::optional<std::vector<AuditEntry>> auditOf(const QString &recordingId);
    // The editing lock of a recording kept in the library when it is a team's server (a
    // connection of its own); null for a library on this computer, where the lock file beside
    // the archive keeps one editor at a time.
    std::unique_ptr<ReviewLock> serverLock(const QString &recordingId);

private:
    void reportOnce(const QString &why);
    // The remembered password of a server location, asked for when none is kept yet; "" when
    // it is not remembered (libpq's own sources then).
    QString rememberedPassword(const LibraryLocation &location);
    // Puts a typed password into the store, or keeps it for this run when the store cannot.
    void keep(const LibraryLocation &location, const QString &password);
    // Says once per run that the store cannot keep passwords.
    void reportStoreOnce(const LibraryLocation &location);
    // Gives the library up for this run after it refused, with its one message.
    void giveUp(const QString &why);

    LanguagePack &m_texts;
    Platform &m_platform;
    QString m_locationText;
    std::unique_ptr<CaseLibrary> m_library;
    std::unique_ptr<LibraryIndexer> m_indexer;
    bool m_unusable = false; // the message for this location was shown
    std::unique_ptr<PasswordStore> m_passwords;
    bool m_storeReported = false; // the store's failure was said
    // A password typed this run that the store could not keep: key and password, in memory only.
    QString m_typedKey;
    QString m_typedPassword;
};
