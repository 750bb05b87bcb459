#include "library/LibraryEngine.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSqlError>
#include <QThread>

namespace {

class LibraryMigrationTest : public LibraryEngineTest
{
protected:
    QString db() const
    {
        return location.engine == LibraryLocation::Engine::Sqlite ? location.sqliteFile : location.displayName();
    }

    // The committed state of the library, read plainly at the version it has.
    struct Committed
    {
        int version = -1;
        int cases = -1;
        bool hasAudit = false;
    };
    Committed committed()
    {
        Committed c;
        auto library = openLibrary(0);
        QSqlQuery q(library->database());
        if (q.exec(QStringLiteral("SELECT version FROM schema_version")) && q.next())
            c.version = q.value(0).toInt();
        if (q.exec(QStringLiteral("SELECT COUNT(*) FROM cases")) && q.next())
            c.cases = q.value(0).toInt();
        c.hasAudit = library->database().tables().contains(QStringLiteral("audit"));
        return c;
    }
};

// Until some other backend of the server waits for a lock (at most a minute).
bool serverMigrationWaits(const QSqlDatabase &db)
{
    QElapsedTimer clock;
    clock.start();
    QSqlQuery q(db);
    while (clock.elapsed() < 60000) {
        if (q.exec(QStringLiteral("SELECT COUNT(*) FROM pg_locks WHERE NOT granted")) && q.next()
            && q.value(0).toInt() > 0)
            return true;
        QThread::msleep(20);
    }
    return false;
}

// A migration killed inside its transaction, just before it records the new version (all its
// other statements done), leaves the library as it was; the next open migrates it whole.
TEST_P(LibraryMigrationTest, AMigrationKilledHalfwayLeavesTheOldLibraryAndTheNextOpenFinishesIt)
{
    constexpr int Rows = 3000;
    {
        auto old = openLibrary(4);
        QSqlQuery q(old->database());
        ASSERT_TRUE(q.exec(QStringLiteral("BEGIN")));
        ASSERT_TRUE(q.prepare(QStringLiteral(
            "INSERT INTO cases (path, size_bytes, modified_ms, sha256, model, serial_number, start_time, "
            "start_time_valid, start_day, start_month, duration_ms, event_count, shock_count, analysis_count, "
            "has_cpr_feedback, has_audio, annotation_count, patient_id, last_name, first_name, comments, indexed_at, "
            "ccf) VALUES (?, 10, 20, 'ab', 'Q25', ?, 1614000000, 1, '2021-02-22', '2021-02', 60000, 12, 1, 2, 0, 0, "
            "0, 'P1', 'Bianchi', 'Anna', '', 1614100000, 0.8)")));
        for (int i = 0; i < Rows; ++i) {
            q.bindValue(0, QStringLiteral("/cases/%1.aed").arg(i));
            q.bindValue(1, QStringLiteral("SN%1").arg(i % 7));
            ASSERT_TRUE(q.exec()) << q.lastError().text().toStdString();
        }
        ASSERT_TRUE(q.exec(QStringLiteral("COMMIT")));
    }

    // A server's migration is held where it records the new version by a lock on that row; this
    // connection then also sees the migration wait (another library would wait for the migration).
    auto holder = GetParam() == Engine::Postgres ? openLibrary(4) : nullptr;
    if (holder) {
        QSqlQuery hold(holder->database());
        ASSERT_TRUE(hold.exec(QStringLiteral("BEGIN")));
        ASSERT_TRUE(hold.exec(QStringLiteral("SELECT version FROM schema_version FOR UPDATE")));
    }
    QProcess migration;
    migration.start(QStringLiteral(RAVELIN_MIGRATION_HOLDER), {db(), QStringLiteral("UPDATE schema_version SET version = 5")});
    ASSERT_TRUE(migration.waitForStarted());
    if (holder) {
        ASSERT_TRUE(serverMigrationWaits(holder->database())) << "the migration never reached the held row";
    } else {
        ASSERT_TRUE(migration.waitForReadyRead(60000)) << migration.readAllStandardError().toStdString();
        ASSERT_EQ(migration.readAllStandardOutput(), "stopped\n");
    }
    migration.kill();
    ASSERT_TRUE(migration.waitForFinished(60000));
    EXPECT_EQ(migration.exitStatus(), QProcess::CrashExit);
    if (holder) {
        QSqlQuery(holder->database()).exec(QStringLiteral("ROLLBACK"));
        holder.reset();
    }

    const Committed before = committed();
    EXPECT_EQ(before.version, 4);
    EXPECT_EQ(before.cases, Rows);
    EXPECT_FALSE(before.hasAudit) << "nothing of the killed migration is kept";

    auto library = openLibrary();
    ASSERT_EQ(library->schemaVersion(), LibrarySchema::LatestVersion) << library->errorText().toStdString();
    std::vector<LibraryCase> cases;
    ASSERT_TRUE(library->list({}, cases)) << library->errorText().toStdString();
    EXPECT_EQ(int(cases.size()), Rows);
    const QString recording(64, QLatin1Char('a'));
    ReviewStatusChange change;
    change.stage = ReviewStatus::Stage::FollowUp;
    ASSERT_TRUE(library->changeReviewStatus(recording, QStringLiteral("/cases/1.aed"), change, ReviewerIdentity::current()))
        << library->errorText().toStdString();
    AuditQuery query;
    query.recordingId = recording;
    std::vector<AuditEntry> entries;
    ASSERT_TRUE(library->auditEntries(query, entries)) << library->errorText().toStdString();
    EXPECT_EQ(entries.size(), 1u);
    QSqlQuery q(library->database());
    EXPECT_FALSE(q.exec(QStringLiteral("DELETE FROM audit"))) << "the audit trail is append-only again";
}

INSTANTIATE_TEST_SUITE_P(Engines, LibraryMigrationTest, testing::Values(Engine::Sqlite, Engine::Postgres), engineName);

} // namespace
