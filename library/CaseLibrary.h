#pragma once

#include "library/AuditEntry.h"
#include "library/LibraryCase.h"
#include "library/LibraryFilter.h"
#include "library/LibraryLocation.h"
#include "library/LibrarySchema.h"
#include "library/LibraryStatsRow.h"

#include "base/ReviewerIdentity.h"
#include "case/ReviewLock.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <span>
#include <vector>

// One connection to a case library, SQLite or PostgreSQL, on the thread that made it. Every
// operation returns false when the database refused it, with errorText() saying why (and
// naming the library); a failed write leaves the library as it was.
class CaseLibrary
{
public:
    explicit CaseLibrary(const LibraryLocation &location);
    ~CaseLibrary();
    CaseLibrary(const CaseLibrary &) = delete;
    CaseLibrary &operator=(const CaseLibrary &) = delete;

    // Connects and brings the tables forward to schemaVersion (older versions only for tests
    // of the migrations). A SQLite library is made on first use, its folder included, and
    // written with a write-ahead log; a file that is not a SQLite database is left untouched.
    // It holds patient IDs, names and comments: the file is made 0600, and so is an existing
    // looser one of this user; its folder is made 0700 when it is the library's own (made now,
    // or the default library's). privacyWarning says why not where that fails.
    bool open(int schemaVersion = LibrarySchema::LatestVersion);
    bool isOpen() const { return m_open; }
    const LibraryLocation &location() const { return m_location; }
    const QString &errorText() const { return m_error; }
    // Why a SQLite library could not be made private (its file 0600, its folder 0700) when it
    // opened anyway; "" when it is.
    const QString &privacyWarning() const { return m_privacyWarning; }
    // The version the tables have reached; 0 before open.
    int schemaVersion() const { return m_version; }

    // What the library knows of an archive's file, to tell whether it changed.
    struct Fingerprint
    {
        int64_t sizeBytes = 0;
        int64_t modifiedMs = 0;
        QString sha256;
        QString recordingId; // "" in a row indexed before recordings were kept
        bool current = true; // false: the row holds older facts (no hands-off time)
    };
    // The stored fingerprint of path; none (and true) when the archive is not indexed.
    bool fingerprint(const QString &path, std::optional<Fingerprint> &stored);
    // The stored fingerprints of those of paths that are indexed, asked for in few requests.
    bool fingerprints(const QStringList &paths, QHash<QString, Fingerprint> &stored);

    // Writes the row of an archive and its shocks in one transaction: inserted, or replacing
    // the row of the same path (also when another reviewer writes it at the same moment).
    bool store(const LibraryCase &c);
    // store for several archives in one transaction: all of them are written, or none.
    bool storeAll(std::span<const LibraryCase> cases);
    // Lets the engine measure its tables again (after many rows were written), so that it
    // plans the list and the summary for what they now hold.
    bool analyze();

    // The cases the filter takes, in its order (without their shocks).
    bool list(const LibraryFilter &filter, std::vector<LibraryCase> &cases);
    // At most limit of those cases (all when negative) from the offset-th on, in the same
    // order: the rows of one page of a long list.
    bool listPage(const LibraryFilter &filter, int offset, int limit, std::vector<LibraryCase> &cases);
    // The shocks of one indexed case, in time order.
    bool shocksOf(const QString &path, std::vector<LibraryShock> &shocks);
    // The summary of the cases the filter takes, one row per month or device in the order of
    // the group ("" first), or one row of all of them; the share of cases at the CCF target
    // counts those with a CCF of at least ccfTarget (0..1).
    bool stats(LibraryGrouping grouping, const LibraryFilter &filter, std::vector<LibraryStatsRow> &rows,
               double ccfTarget = DefaultLibraryCcfTarget);
    // The summaries of the same cases by several groupings from one read of them, each
    // grouping's rows as stats gives them.
    bool stats(const std::vector<std::pair<LibraryGrouping, std::vector<LibraryStatsRow> *>> &groupings,
               const LibraryFilter &filter, double ccfTarget = DefaultLibraryCcfTarget);
    // The cases the filter takes that need a reviewer's attention: their recording's review asks
    // for a follow-up, their CCF is below ccfTarget, or one of their pre-shock pauses is longer
    // than AttentionPreShockPauseMs. The limit most recent of them (with their review status),
    // latest first, and how many there are in all.
    bool needingAttention(const LibraryFilter &filter, double ccfTarget, int limit, std::vector<LibraryCase> &cases,
                          int &total);
    static constexpr int64_t AttentionPreShockPauseMs = 20000;

    // Every indexed path, sorted.
    bool paths(QStringList &out);
    // Drops the rows of these paths and their shocks.
    bool remove(const QStringList &paths);

    // The review of a recording: its status (Stage::New when nobody has touched it).
    bool reviewStatus(const QString &recordingId, ReviewStatus &status);
    // Applies change to the recording's status as who, in one transaction with its audit entry
    // ("status changed", naming the stages and the assignee, never the note's text); after is
    // the status now. Setting it reviewed records who and when.
    bool changeReviewStatus(const QString &recordingId, const QString &archivePath, const ReviewStatusChange &change,
                            const ReviewerIdentity &who, ReviewStatus *after = nullptr);
    // A recording opened for review leaves "new" for "in review" (audited); any other stage
    // stays. started says whether it moved.
    bool startReview(const QString &recordingId, const QString &archivePath, const ReviewerIdentity &who,
                     bool *started = nullptr);
    // The same change for several recordings in one transaction (the library window's bulk
    // assignment); recordings pairs each ID with an archive path for its audit entry.
    bool changeReviewStatuses(const QList<std::pair<QString, QString>> &recordings, const ReviewStatusChange &change,
                              const ReviewerIdentity &who);

    // Appends one entry to the audit trail, stamped with who and the library's time now.
    bool audit(const ReviewerIdentity &who, const QString &recordingId, const QString &archivePath,
               const QString &action, const QString &details = QString());
    // The entries of the trail the query takes, oldest first.
    bool auditEntries(const AuditQuery &query, std::vector<AuditEntry> &entries);

    // The editing lock of a recording kept in the library (a team's shared server): see
    // ReviewLock. Times are the library's own clock, so computers whose clocks differ agree.
    ReviewLock::Outcome takeLock(const QString &recordingId, const ReviewerIdentity &who, bool takeOverStale,
                                 LockHolder &holder);
    // Shows the lock is alive; false when it is no longer who's (taken over, or the library
    // refused: errorText says so then).
    bool renewLock(const QString &recordingId, const ReviewerIdentity &who, int64_t since);
    bool releaseLock(const QString &recordingId, const ReviewerIdentity &who, int64_t since);

    // The connection, for tests that look at or damage the tables themselves.
    QSqlDatabase database() const { return QSqlDatabase::database(m_connection, false); }

private:
    struct Statements;

    bool fail(const QString &what, const QString &detail);
    // Makes the SQLite file private, and its folder when it is the library's own (see open);
    // the warning, or "".
    QString makePrivate(const QString &file, bool ownFolder);
    bool exec(const QString &sql, const QList<QVariant> &values = {});
    // Runs a statement prepared once on this connection with these values.
    bool run(QSqlQuery &q, const QList<QVariant> &values);
    Statements &statements();
    bool beginRead();
    bool begin();
    bool commit();
    void rollback();
    bool migrate(int schemaVersion);
    // The library's clock, epoch seconds, as an SQL expression.
    QString nowSql() const;
    bool changeStatusInTransaction(const QString &recordingId, const QString &archivePath,
                                   const ReviewStatusChange &change, const ReviewerIdentity &who, ReviewStatus *after);


    LibraryLocation m_location;
    QString m_connection;
    QString m_error;
    QString m_privacyWarning;
    bool m_open = false;
    int m_version = 0;
    std::unique_ptr<Statements> m_statements; // made on first use, dropped before the connection
};
