#include "library/LibraryEngine.h"
#include "library/LibraryReviewLock.h"
#include "library/LibraryRows.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>

#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString RecordingA = QString(64, QLatin1Char('a'));
const QString RecordingB = QString(64, QLatin1Char('b'));

ReviewerIdentity reviewer(const char *name, const char *host, int64_t pid)
{
    return {QLatin1String(name), QLatin1String(host), pid};
}

LibraryCase rowOf(const QString &path, const QString &recordingId)
{
    LibraryCase c = libraryRow(path, QStringLiteral("2021-03-07"), QStringLiteral("SN1"), 0.8);
    c.recordingId = recordingId;
    return c;
}

// A process id that no process has now: a child that has ended and was waited for.
int64_t endedProcess()
{
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

std::vector<AuditEntry> trail(CaseLibrary &library, const QString &recordingId = {})
{
    std::vector<AuditEntry> entries;
    EXPECT_TRUE(library.auditEntries({recordingId, {}, {}}, entries)) << library.errorText().toStdString();
    return entries;
}

class LibraryReviewTest : public LibraryEngineTest
{
};

TEST_P(LibraryReviewTest, StatusFollowsTheReviewAndEveryChangeIsAudited)
{
    auto library = openLibrary();
    ASSERT_TRUE(library->storeAll(std::vector<LibraryCase>{rowOf("/a.aed", RecordingA), rowOf("/b.aed", RecordingB),
                                                           rowOf("/a-copy.aed", RecordingA)}));
    const ReviewerIdentity ann = reviewer("Ann", "pc1", 11);
    const ReviewerIdentity bob = reviewer("Bob", "pc2", 22);

    ReviewStatus status;
    ASSERT_TRUE(library->reviewStatus(RecordingA, status));
    EXPECT_EQ(status.stage, ReviewStatus::Stage::New);

    // Opening a new case moves it to "in review" once; a reviewed one stays reviewed.
    bool started = false;
    ASSERT_TRUE(library->startReview(RecordingA, "/a.aed", ann, &started));
    EXPECT_TRUE(started);
    ASSERT_TRUE(library->startReview(RecordingA, "/a.aed", bob, &started));
    EXPECT_FALSE(started);

    ReviewStatusChange followUp;
    followUp.stage = ReviewStatus::Stage::FollowUp;
    followUp.assignee = QStringLiteral("Bob");
    followUp.note = QStringLiteral("Rossi: check the second shock");
    ASSERT_TRUE(library->changeReviewStatus(RecordingA, "/a.aed", followUp, ann, &status));
    EXPECT_EQ(status.stage, ReviewStatus::Stage::FollowUp);
    EXPECT_EQ(status.assignee, "Bob");
    EXPECT_EQ(status.changedBy, "Ann");
    EXPECT_FALSE(status.reviewedAt.has_value());

    ReviewStatusChange done;
    done.stage = ReviewStatus::Stage::Reviewed;
    ASSERT_TRUE(library->changeReviewStatus(RecordingA, "/a.aed", done, bob, &status));
    EXPECT_EQ(status.reviewedBy, "Bob");
    EXPECT_TRUE(status.reviewedAt.has_value());
    ASSERT_TRUE(library->startReview(RecordingA, "/a.aed", ann, &started));
    EXPECT_FALSE(started);

    // Both copies of the recording show its status; the other recording is still new.
    const auto listed = [&](std::optional<ReviewStatus::Stage> stage, const QString &assignee) {
        LibraryFilter f;
        f.stage = stage;
        f.assignee = assignee;
        f.sort = LibraryFilter::Sort::Path;
        std::vector<LibraryCase> cases;
        EXPECT_TRUE(library->list(f, cases)) << library->errorText().toStdString();
        QStringList paths;
        for (const LibraryCase &c : cases)
            paths << c.path;
        return paths;
    };
    EXPECT_EQ(listed(ReviewStatus::Stage::Reviewed, {}), (QStringList{"/a-copy.aed", "/a.aed"}));
    EXPECT_EQ(listed(ReviewStatus::Stage::Reviewed, "Bob"), (QStringList{"/a-copy.aed", "/a.aed"}));
    EXPECT_EQ(listed(ReviewStatus::Stage::Reviewed, "Ann"), QStringList{});
    EXPECT_EQ(listed(ReviewStatus::Stage::New, {}), QStringList{"/b.aed"});
    std::vector<LibraryStatsRow> rows;
    LibraryFilter reviewed;
    reviewed.stage = ReviewStatus::Stage::Reviewed;
    ASSERT_TRUE(library->stats(LibraryGrouping::Device, reviewed, rows)) << library->errorText().toStdString();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].cases, 2);

    // Bulk assignment: one entry per recording.
    ReviewStatusChange assign;
    assign.assignee = QStringLiteral("Cleo");
    ASSERT_TRUE(library->changeReviewStatuses({{RecordingA, "/a.aed"}, {RecordingB, "/b.aed"}}, assign, ann));

    const std::vector<AuditEntry> entries = trail(*library);
    QStringList seen;
    for (const AuditEntry &e : entries) {
        seen << e.reviewer + QLatin1Char('|') + e.action + QLatin1Char('|') + e.details;
        // The note's text never goes into the trail.
        EXPECT_FALSE(e.details.contains(QLatin1String("Rossi")));
        EXPECT_GT(e.atMs, 1700000000000);
    }
    EXPECT_EQ(seen, (QStringList{"Ann|status changed|new -> in review",
                                 "Ann|status changed|in review -> follow-up; assigned to Bob; note changed",
                                 "Bob|status changed|follow-up -> reviewed",
                                 "Ann|status changed|assigned to Cleo", "Ann|status changed|assigned to Cleo"}));
    EXPECT_EQ(trail(*library, RecordingB).size(), 1u);
}

TEST_P(LibraryReviewTest, TheAuditTrailCannotBeChangedNorEmptied)
{
    auto library = openLibrary();
    ASSERT_TRUE(library->audit(reviewer("Ann", "pc1", 1), RecordingA, "/a.aed", AuditAction::Opened));
    QSqlQuery q(library->database());
    EXPECT_FALSE(q.exec(QStringLiteral("UPDATE audit SET reviewer = 'Eve'")));
    EXPECT_FALSE(q.exec(QStringLiteral("DELETE FROM audit")));
    const std::vector<AuditEntry> entries = trail(*library);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].reviewer, "Ann");
    EXPECT_EQ(entries[0].action, "opened");
}

TEST_P(LibraryReviewTest, OneEditorAtATimeAndAStaleLockCanBeTakenOver)
{
    auto library = openLibrary();
    QSqlQuery q(library->database());
    const ReviewerIdentity here = reviewer("Ann", "pc1", int64_t(getpid()));
    const auto age = [&](int64_t seconds) {
        ASSERT_TRUE(q.exec(QStringLiteral("UPDATE review_locks SET heartbeat = heartbeat - %1").arg(seconds)))
            << q.lastError().text().toStdString();
    };

    struct Case
    {
        const char *what;
        ReviewerIdentity holder;
        int64_t silentFor; // seconds since the holder's last heartbeat
        ReviewLock::Outcome expected;
    };
    const Case cases[] = {
        {"a live process of this computer", reviewer("Bob", "pc1", 1), 0, ReviewLock::Outcome::Held},
        {"an ended process of this computer", reviewer("Bob", "pc1", endedProcess()), 0, ReviewLock::Outcome::Stale},
        {"another computer, renewed lately", reviewer("Bob", "pc2", 7), ReviewLock::StaleSeconds - 20,
         ReviewLock::Outcome::Held},
        {"another computer, silent for 3 minutes", reviewer("Bob", "pc2", 7), 180, ReviewLock::Outcome::Stale},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        LockHolder holder;
        ASSERT_EQ(library->takeLock(RecordingA, c.holder, false, holder), ReviewLock::Outcome::Taken);
        const int64_t since = holder.since;
        age(c.silentFor);
        EXPECT_EQ(library->takeLock(RecordingA, here, false, holder), c.expected);
        EXPECT_EQ(holder.reviewer, "Bob");
        EXPECT_EQ(holder.host, c.holder.host);
        if (c.expected == ReviewLock::Outcome::Stale) {
            ASSERT_EQ(library->takeLock(RecordingA, here, true, holder), ReviewLock::Outcome::Taken);
            EXPECT_EQ(holder.reviewer, "Ann");
            // The old holder learns it has lost the lock; its release leaves the new one.
            EXPECT_FALSE(library->renewLock(RecordingA, c.holder, since));
            EXPECT_TRUE(library->releaseLock(RecordingA, c.holder, since));
            EXPECT_EQ(library->takeLock(RecordingA, reviewer("Bob", "pc2", 7), false, holder), ReviewLock::Outcome::Held);
            EXPECT_TRUE(library->releaseLock(RecordingA, here, holder.since));
        } else {
            // A live holder's lock is never taken over.
            EXPECT_EQ(library->takeLock(RecordingA, here, true, holder), c.expected);
            EXPECT_TRUE(library->renewLock(RecordingA, c.holder, since));
            EXPECT_TRUE(library->releaseLock(RecordingA, c.holder, since));
        }
        EXPECT_EQ(library->takeLock(RecordingB, here, false, holder), ReviewLock::Outcome::Taken)
            << "another recording is free";
        EXPECT_TRUE(library->releaseLock(RecordingB, here, holder.since));
    }
}

// The program's lock has a connection of its own and gives the lock up when it goes.
TEST_P(LibraryReviewTest, TheProgramsLockIsReleasedWhenItGoes)
{
    auto library = openLibrary();
    LockHolder holder;
    QString why;
    {
        LibraryReviewLock mine(location, RecordingA, reviewer("Ann", "pc1", int64_t(getpid())));
        ASSERT_EQ(mine.take(false, holder, why), ReviewLock::Outcome::Taken) << why.toStdString();
        EXPECT_TRUE(mine.renew());
        LibraryReviewLock theirs(location, RecordingA, reviewer("Bob", "pc2", 9));
        EXPECT_EQ(theirs.take(true, holder, why), ReviewLock::Outcome::Held);
        EXPECT_EQ(holder.reviewer, "Ann");
    }
    LibraryReviewLock theirs(location, RecordingA, reviewer("Bob", "pc2", 9));
    EXPECT_EQ(theirs.take(false, holder, why), ReviewLock::Outcome::Taken) << why.toStdString();
}

// On a server, the reviewers' group of scripts/library-roles.sql may add to the trail and read it,
// never change or remove it.
TEST_P(LibraryReviewTest, TheServersReviewersMayOnlyAppendToTheTrail)
{
    if (GetParam() != Engine::Postgres)
        GTEST_SKIP() << "the roles are a server's";
    const QStringList bins = QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    const QString psql = bins.isEmpty() ? QString() : QStringLiteral("/usr/lib/postgresql/%1/bin/psql").arg(bins.last());
    if (!QFileInfo(psql).isExecutable())
        GTEST_SKIP() << "no psql in /usr/lib/postgresql";
    auto library = openLibrary();
    const auto runPsql = [&](const QString &user, const QStringList &arguments) {
        QProcess p;
        QStringList args = {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                            QStringLiteral("-h"), location.host, QStringLiteral("-U"), user, QStringLiteral("-d"),
                            location.database};
        if (location.port > 0)
            args << QStringLiteral("-p") << QString::number(location.port);
        p.start(psql, args + arguments);
        p.waitForFinished(30000);
        return std::pair{p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0, QString::fromUtf8(p.readAllStandardError())};
    };
    const auto [made, why] = runPsql(location.user, {QStringLiteral("-f"), QStringLiteral(RAVELIN_SOURCE_DIR "/scripts/library-roles.sql"),
                                                     QStringLiteral("-c"), QStringLiteral("DROP ROLE IF EXISTS rv_tester"),
                                                     QStringLiteral("-c"), QStringLiteral("CREATE ROLE rv_tester LOGIN IN ROLE ravelin_reviewers")});
    ASSERT_TRUE(made) << why.toStdString();
    const QString insert = QStringLiteral("INSERT INTO audit (at_ms, reviewer, host, recording_id, archive_path, action, details) "
                                          "VALUES (1, 'rv', 'h', 'r', '/a.aed', 'opened', '')");
    EXPECT_TRUE(runPsql(QStringLiteral("rv_tester"), {QStringLiteral("-c"), insert}).first);
    EXPECT_TRUE(runPsql(QStringLiteral("rv_tester"), {QStringLiteral("-c"), QStringLiteral("SELECT * FROM audit")}).first);
    for (const char *change : {"UPDATE audit SET reviewer = 'x'", "DELETE FROM audit", "TRUNCATE audit"}) {
        const auto [done, error] = runPsql(QStringLiteral("rv_tester"), {QStringLiteral("-c"), QLatin1String(change)});
        EXPECT_FALSE(done) << change;
        EXPECT_TRUE(error.contains(QLatin1String("permission denied"))) << error.toStdString();
    }
    EXPECT_EQ(trail(*library).size(), 1u);
    runPsql(location.user, {QStringLiteral("-c"), QStringLiteral("REVOKE ALL ON ALL TABLES IN SCHEMA public FROM rv_tester")});
}

INSTANTIATE_TEST_SUITE_P(Engines, LibraryReviewTest, testing::Values(Engine::Sqlite, Engine::Postgres), engineName);

} // namespace
