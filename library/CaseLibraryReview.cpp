// The review kept in a case library: status per recording, the editing lock, the audit trail.
#include "library/CaseLibrary.h"

#include "archive/CaseLockFile.h"
#include "library/ReviewStatusRow.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

QString nonNull(const QString &s)
{
    return s.isNull() ? QString(QLatin1String("")) : s;
}

QString statusChangeDetails(const ReviewStatus &before, const ReviewStatus &after)
{
    QStringList parts;
    if (before.stage != after.stage)
        parts << QStringLiteral("%1 -> %2").arg(reviewStageText(before.stage), reviewStageText(after.stage));
    if (before.assignee != after.assignee)
        parts << (after.assignee.isEmpty() ? QStringLiteral("unassigned")
                                            : QStringLiteral("assigned to %1").arg(after.assignee));
    if (before.note != after.note)
        parts << (after.note.isEmpty() ? QStringLiteral("note removed") : QStringLiteral("note changed"));
    return parts.join(QStringLiteral("; "));
}

} // namespace

QString CaseLibrary::nowSql() const
{
    return m_location.engine == LibraryLocation::Engine::Postgres
               ? QStringLiteral("CAST(EXTRACT(EPOCH FROM clock_timestamp()) AS BIGINT)")
               : QStringLiteral("CAST(strftime('%s', 'now') AS INTEGER)");
}

bool CaseLibrary::reviewStatus(const QString &recordingId, ReviewStatus &status)
{
    status = ReviewStatus();
    QSqlQuery q(database());
    q.prepare(QStringLiteral("SELECT ") + reviewStatusColumns().join(QStringLiteral(", "))
              + QStringLiteral(" FROM review_status r WHERE r.recording_id = ?"));
    q.addBindValue(recordingId);
    if (!q.exec())
        return fail(QStringLiteral("cannot be read"), q.lastError().text());
    if (q.next())
        status = reviewStatusOfRow(q, 0);
    return true;
}

bool CaseLibrary::audit(const ReviewerIdentity &who, const QString &recordingId, const QString &archivePath,
                              const QString &action, const QString &details)
{
    const QString nowMs = m_location.engine == LibraryLocation::Engine::Postgres
                              ? QStringLiteral("CAST(EXTRACT(EPOCH FROM clock_timestamp()) * 1000 AS BIGINT)")
                              : QStringLiteral("CAST((julianday('now') - 2440587.5) * 86400000 AS INTEGER)");
    return exec(QStringLiteral("INSERT INTO audit (at_ms, reviewer, host, recording_id, archive_path, action, details) "
                               "VALUES (%1, ?, ?, ?, ?, ?, ?)")
                    .arg(nowMs),
                {nonNull(who.name), nonNull(who.host), nonNull(recordingId), nonNull(archivePath), nonNull(action),
                 nonNull(details)});
}

bool CaseLibrary::changeStatusInTransaction(const QString &recordingId, const QString &archivePath,
                                            const ReviewStatusChange &change, const ReviewerIdentity &who,
                                            ReviewStatus *after)
{
    ReviewStatus before;
    if (!reviewStatus(recordingId, before))
        return false;
    ReviewStatus now = before;
    if (change.stage)
        now.stage = *change.stage;
    if (change.assignee)
        now.assignee = change.assignee->trimmed();
    if (change.note)
        now.note = change.note->trimmed();
    const QString details = statusChangeDetails(before, now);
    if (after)
        *after = now;
    if (details.isEmpty())
        return true; // nothing changes
    QSqlQuery clock(database());
    if (!clock.exec(QStringLiteral("SELECT ") + nowSql()) || !clock.next())
        return fail(QStringLiteral("cannot be read"), clock.lastError().text());
    now.changedAt = clock.value(0).toLongLong();
    now.changedBy = who.name;
    now.changedHost = who.host;
    if (now.stage == ReviewStatus::Stage::Reviewed && before.stage != ReviewStatus::Stage::Reviewed) {
        now.reviewedBy = who.name;
        now.reviewedAt = now.changedAt;
    }
    if (after)
        *after = now;
    const bool written = exec(
        QStringLiteral("INSERT INTO review_status (recording_id, status, note, assignee, changed_by, changed_host, "
                       "changed_at, reviewed_by, reviewed_at) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?) "
                       "ON CONFLICT (recording_id) DO UPDATE SET status = excluded.status, note = excluded.note, "
                       "assignee = excluded.assignee, changed_by = excluded.changed_by, "
                       "changed_host = excluded.changed_host, changed_at = excluded.changed_at, "
                       "reviewed_by = excluded.reviewed_by, reviewed_at = excluded.reviewed_at"),
        {nonNull(recordingId), reviewStageKey(now.stage), nonNull(now.note), nonNull(now.assignee), nonNull(now.changedBy),
         nonNull(now.changedHost), qlonglong(now.changedAt), nonNull(now.reviewedBy),
         now.reviewedAt ? QVariant(qlonglong(*now.reviewedAt)) : QVariant(QMetaType::fromType<qlonglong>())});
    return written && audit(who, recordingId, archivePath, QLatin1String(AuditAction::StatusChanged), details);
}

bool CaseLibrary::changeReviewStatus(const QString &recordingId, const QString &archivePath,
                                     const ReviewStatusChange &change, const ReviewerIdentity &who, ReviewStatus *after)
{
    return changeReviewStatuses({{recordingId, archivePath}}, change, who) && (!after || reviewStatus(recordingId, *after));
}

bool CaseLibrary::changeReviewStatuses(const QList<std::pair<QString, QString>> &recordings,
                                       const ReviewStatusChange &change, const ReviewerIdentity &who)
{
    for (const auto &[id, path] : recordings)
        if (id.isEmpty())
            return fail(QStringLiteral("cannot keep a review status"),
                        QStringLiteral("\"%1\" has no recording ID yet; add it to the library again").arg(path));
    if (!begin())
        return false;
    for (const auto &[id, path] : recordings) {
        if (!changeStatusInTransaction(id, path, change, who, nullptr)) {
            rollback();
            return false;
        }
    }
    return commit();
}

bool CaseLibrary::startReview(const QString &recordingId, const QString &archivePath, const ReviewerIdentity &who,
                              bool *started)
{
    if (started)
        *started = false;
    if (!begin())
        return false;
    ReviewStatus status;
    bool ok = reviewStatus(recordingId, status);
    if (ok && status.stage == ReviewStatus::Stage::New) {
        ReviewStatusChange change;
        change.stage = ReviewStatus::Stage::InReview;
        ok = changeStatusInTransaction(recordingId, archivePath, change, who, nullptr);
        if (ok && started)
            *started = true;
    }
    if (!ok) {
        rollback();
        return false;
    }
    return commit();
}

bool CaseLibrary::auditEntries(const AuditQuery &query, std::vector<AuditEntry> &entries)
{
    entries.clear();
    QStringList terms;
    QList<QVariant> values;
    if (!query.recordingId.isEmpty()) {
        terms << QStringLiteral("recording_id = ?");
        values << query.recordingId;
    }
    if (query.fromMs) {
        terms << QStringLiteral("at_ms >= ?");
        values << qlonglong(*query.fromMs);
    }
    if (query.toMs) {
        terms << QStringLiteral("at_ms <= ?");
        values << qlonglong(*query.toMs);
    }
    QSqlQuery q(database());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT id, at_ms, reviewer, host, recording_id, archive_path, action, details FROM audit")
              + (terms.isEmpty() ? QString() : QStringLiteral(" WHERE ") + terms.join(QStringLiteral(" AND ")))
              + QStringLiteral(" ORDER BY id"));
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec())
        return fail(QStringLiteral("cannot be read"), q.lastError().text());
    while (q.next())
        entries.push_back({q.value(0).toLongLong(), q.value(1).toLongLong(), q.value(2).toString(), q.value(3).toString(),
                           q.value(4).toString(), q.value(5).toString(), q.value(6).toString(), q.value(7).toString()});
    return true;
}

ReviewLock::Outcome CaseLibrary::takeLock(const QString &recordingId, const ReviewerIdentity &who, bool takeOverStale,
                                          LockHolder &holder)
{
    using Outcome = ReviewLock::Outcome;
    holder = LockHolder();
    if (!begin())
        return Outcome::Failed;
    const auto failed = [this] {
        rollback();
        return Outcome::Failed;
    };
    const QList<QVariant> mine = {nonNull(recordingId), nonNull(who.name), nonNull(who.host), qlonglong(who.processId)};
    if (!exec(QStringLiteral("INSERT INTO review_locks (recording_id, reviewer, host, process_id, since, heartbeat) "
                             "VALUES (?, ?, ?, ?, %1, %1) ON CONFLICT (recording_id) DO NOTHING")
                  .arg(nowSql()),
              mine))
        return failed();
    QSqlQuery q(database());
    q.prepare(QStringLiteral("SELECT reviewer, host, process_id, since, heartbeat, %1 FROM review_locks "
                             "WHERE recording_id = ?")
                  .arg(nowSql()));
    q.addBindValue(recordingId);
    if (!q.exec() || !q.next()) {
        fail(QStringLiteral("cannot be read"), q.lastError().text());
        return failed();
    }
    holder = {q.value(0).toString(), q.value(1).toString(), q.value(2).toLongLong(), q.value(3).toLongLong(),
              q.value(4).toLongLong()};
    const int64_t now = q.value(5).toLongLong();
    q.finish();
    if (holder.host == who.host && holder.processId == who.processId)
        return commit() ? Outcome::Taken : Outcome::Failed;
    // The same rule as a lock file's: silent for too long, or its process gone on this computer.
    const bool stale = CaseLockFile::isStale(holder, who.host, now, CaseLockFile::processState(holder.processId));
    if (!stale)
        return commit() ? Outcome::Held : Outcome::Failed;
    if (!takeOverStale)
        return commit() ? Outcome::Stale : Outcome::Failed;
    // Only the holder seen here is replaced: of two reviewers taking it over, one gets it.
    QSqlQuery take(database());
    take.prepare(QStringLiteral("UPDATE review_locks SET reviewer = ?, host = ?, process_id = ?, since = %1, heartbeat = %1 "
                                "WHERE recording_id = ? AND host = ? AND process_id = ? AND since = ? AND heartbeat = ?")
                     .arg(nowSql()));
    for (const QVariant &v : QList<QVariant>{nonNull(who.name), nonNull(who.host), qlonglong(who.processId),
                                              nonNull(recordingId), nonNull(holder.host), qlonglong(holder.processId),
                                              qlonglong(holder.since), qlonglong(holder.renewed)})
        take.addBindValue(v);
    if (!take.exec()) {
        fail(QStringLiteral("refused a request"), take.lastError().text());
        return failed();
    }
    if (take.numRowsAffected() != 1)
        return commit() ? Outcome::Held : Outcome::Failed; // someone else took it first
    take.finish();
    QSqlQuery since(database());
    since.prepare(QStringLiteral("SELECT since FROM review_locks WHERE recording_id = ?"));
    since.addBindValue(recordingId);
    if (!since.exec() || !since.next()) {
        fail(QStringLiteral("cannot be read"), since.lastError().text());
        return failed();
    }
    holder = {who.name, who.host, who.processId, since.value(0).toLongLong(), since.value(0).toLongLong()};
    since.finish();
    return commit() ? Outcome::Taken : Outcome::Failed;
}

bool CaseLibrary::renewLock(const QString &recordingId, const ReviewerIdentity &who, int64_t since)
{
    m_error.clear();
    QSqlQuery q(database());
    q.prepare(QStringLiteral("UPDATE review_locks SET heartbeat = %1 WHERE recording_id = ? AND host = ? AND "
                             "process_id = ? AND since = ?")
                  .arg(nowSql()));
    for (const QVariant &v : QList<QVariant>{nonNull(recordingId), nonNull(who.host), qlonglong(who.processId), qlonglong(since)})
        q.addBindValue(v);
    if (!q.exec())
        return fail(QStringLiteral("refused a request"), q.lastError().text());
    return q.numRowsAffected() == 1;
}

bool CaseLibrary::releaseLock(const QString &recordingId, const ReviewerIdentity &who, int64_t since)
{
    return exec(QStringLiteral("DELETE FROM review_locks WHERE recording_id = ? AND host = ? AND process_id = ? AND since = ?"),
                {nonNull(recordingId), nonNull(who.host), qlonglong(who.processId), qlonglong(since)});
}
