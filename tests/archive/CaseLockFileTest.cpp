#include "archive/CaseLockFile.h"
#include "support/ScratchMount.h"
#include "support/TempDir.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

ReviewerIdentity reviewer(const QString &name, const QString &host = QStringLiteral("ward-pc"), int64_t pid = ::getpid())
{
    return ReviewerIdentity{name, host, pid};
}

int64_t realNow()
{
    return QDateTime::currentSecsSinceEpoch();
}

// A process number that no process has any more: a child that has ended and been reaped.
int64_t deadPid()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray lockOf(const QString &name, const QString &host, int64_t pid)
{
    return CaseLockFile::format(LockHolder{name, host, pid, realNow() - 10, 0});
}

TEST(CaseLockFileTest, LivesBesideTheArchiveUnderAHiddenName)
{
    EXPECT_EQ(CaseLockFile::pathFor(QStringLiteral("/cases/Q25_0001.aed")), QStringLiteral("/cases/.~Q25_0001.aed.lock"));
    EXPECT_EQ(CaseLockFile::pathFor(QStringLiteral("Q25_0001.aed")), QStringLiteral(".~Q25_0001.aed.lock"));
}

TEST(CaseLockFileTest, ReadsBackWhatItWritesAndNothingElse)
{
    const LockHolder holder{QStringLiteral("Dr. Anna\nMaria"), QStringLiteral("ward-pc"), 4242, 1700000000, 0};
    const std::optional<LockHolder> read = CaseLockFile::parse(CaseLockFile::format(holder));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->reviewer, QStringLiteral("Dr. Anna Maria"));
    EXPECT_EQ(read->host, holder.host);
    EXPECT_EQ(read->processId, 4242);
    EXPECT_EQ(read->since, 1700000000);

    const QByteArray whole = CaseLockFile::format(holder);
    for (const QByteArray &bad : {QByteArray(), QByteArray("garbage"), whole.left(whole.indexOf("pid")),
                                  QByteArray(whole).replace("4242", "-1"), QByteArray(whole).replace("4242", "x"),
                                  QByteArray(whole).replace("Ravelin", "Other"), QByteArray(whole).replace("host", "hast")})
        EXPECT_FALSE(CaseLockFile::parse(bad)) << bad.constData();
}

TEST(CaseLockFileTest, StaleWhenItsProcessIsGoneHereOrItGaveNoSignOfLife)
{
    using P = CaseLockFile::Process;
    const int64_t now = 1700000000;
    struct Case {
        const char *host;
        int64_t renewedAgo;
        P process;
        bool stale;
    } cases[] = {
        {"ward-pc", 0, P::Alive, false},
        {"WARD-PC", 0, P::Gone, true},       // host names are not case-sensitive
        {"other-pc", 0, P::Gone, false},     // another computer's process numbers mean nothing here
        {"localhost", 0, P::Gone, false},    // nor do those of a computer that does not say its name
        {"ward-pc", 0, P::Unknown, false},
        {"other-pc", 119, P::Alive, false},
        {"other-pc", 120, P::Alive, true},
        {"other-pc", 180, P::Unknown, true},
        {"other-pc", -60, P::Unknown, false}, // a clock ahead of ours
    };
    for (const Case &c : cases) {
        const LockHolder holder{QStringLiteral("Anna"), QLatin1String(c.host), 77, now - 500, now - c.renewedAgo};
        EXPECT_EQ(CaseLockFile::isStale(holder, QStringLiteral("ward-pc"), now, c.process), c.stale)
            << c.host << " " << c.renewedAgo;
    }
    EXPECT_EQ(CaseLockFile::processState(::getpid()), CaseLockFile::Process::Alive);
    EXPECT_EQ(CaseLockFile::processState(deadPid()), CaseLockFile::Process::Gone);
    for (int64_t none : {int64_t(0), int64_t(-1), int64_t(1) << 40})
        EXPECT_EQ(CaseLockFile::processState(none), CaseLockFile::Process::Unknown);
}

// What is found at the lock's name, and what asking for the lock says of it.
TEST(CaseLockFileTest, AnswersByWhatIsAtTheName)
{
    using O = ReviewLock::Outcome;
    const QString thisHost = QStringLiteral("ward-pc");
    struct Case {
        const char *what;
        std::function<void(const QString &lockPath)> place;
        int64_t clockAhead; // seconds the taker's clock is ahead of the file's
        O outcome;
        const char *holder;
    } cases[] = {
        {"nothing", [](const QString &) {}, 0, O::Taken, "Me"},
        {"a live lock here", [&](const QString &p) { writeFile(p, lockOf("Anna", thisHost, ::getpid())); }, 0,
         O::Held, "Anna"},
        {"a lock of a dead process here", [&](const QString &p) { writeFile(p, lockOf("Anna", thisHost, deadPid())); },
         0, O::Stale, "Anna"},
        {"another host's lock, just renewed",
         [](const QString &p) { writeFile(p, lockOf("Bruno", QStringLiteral("other-pc"), 1)); }, 0, O::Held, "Bruno"},
        {"another host's lock, renewed 3 minutes ago",
         [](const QString &p) { writeFile(p, lockOf("Bruno", QStringLiteral("other-pc"), 1)); }, 180, O::Stale,
         "Bruno"},
        {"garbage, just written", [](const QString &p) { writeFile(p, "\x01\x02 not a lock"); }, 0, O::Held, "unknown"},
        {"an empty file, 3 minutes old", [](const QString &p) { writeFile(p, QByteArray()); }, 180, O::Stale,
         "unknown"},
        {"a symbolic link", [](const QString &p) { QFile::link(QStringLiteral("/nonexistent/target"), p); }, 0, O::Failed,
         ""},
        {"a dangling link's target stays uncreated", [](const QString &p) { QFile::link(p + QStringLiteral(".target"), p); },
         0, O::Failed, ""},
        {"a folder", [](const QString &p) { QDir().mkpath(p); }, 0, O::Failed, ""},
        {"a large file", [](const QString &p) { writeFile(p, QByteArray(64 * 1024, 'x')); }, 600, O::Failed, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const QString archive = dir.file(QStringLiteral("Q25_0001.aed"));
        const QString lockPath = CaseLockFile::pathFor(archive);
        c.place(lockPath);
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        const int64_t ahead = c.clockAhead;
        CaseLockFile lock(archive, reviewer(QStringLiteral("Me"), thisHost), [ahead] { return realNow() + ahead; });
        LockHolder holder;
        QString why;
        EXPECT_EQ(lock.take(false, holder, why), c.outcome);
        if (c.outcome == O::Failed) {
            EXPECT_TRUE(why.contains(lockPath)) << why.toStdString();
        } else {
            EXPECT_EQ(holder.reviewer, QLatin1String(c.holder));
        }
        if (c.outcome != O::Taken) {
            // Whatever was there is as it was.
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot), before);
        }
        if (c.outcome == O::Stale) {
            EXPECT_EQ(lock.take(true, holder, why), O::Taken);
            EXPECT_EQ(holder.reviewer, QStringLiteral("Me"));
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Hidden | QDir::Files), QStringList{QFileInfo(lockPath).fileName()});
        }
        if (c.outcome == O::Held) {
            EXPECT_EQ(lock.take(true, holder, why), O::Held) << "a live lock is never taken over";
        }
    }
}

TEST(CaseLockFileTest, HoldsTheFileItMadeUntilReleasedAndTouchesItToRenew)
{
    TempDir dir;
    const QString archive = dir.file(QStringLiteral("Q25_0001.aed"));
    const QString lockPath = CaseLockFile::pathFor(archive);
    ::umask(077);
    LockHolder holder;
    QString why;
    {
        CaseLockFile mine(archive, reviewer(QStringLiteral("Me")), [] { return int64_t(1700000000); });
        ASSERT_EQ(mine.take(false, holder, why), ReviewLock::Outcome::Taken);
        ::umask(022);
        struct stat st {};
        ASSERT_EQ(::lstat(QFile::encodeName(lockPath).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0644u) << "others read who holds the case";
        const std::optional<LockHolder> written = CaseLockFile::parse(dir.read(QFileInfo(lockPath).fileName()));
        ASSERT_TRUE(written);
        EXPECT_EQ(written->since, 1700000000);
        EXPECT_EQ(written->processId, ::getpid());

        const timespec old[2] = {{1000, 0}, {1000, 0}};
        ::utimensat(AT_FDCWD, QFile::encodeName(lockPath).constData(), old, 0);
        EXPECT_TRUE(mine.renew());
        ASSERT_EQ(::lstat(QFile::encodeName(lockPath).constData(), &st), 0);
        EXPECT_GT(st.st_mtim.tv_sec, realNow() - 60);

        // A second taker in this same process sees it held.
        CaseLockFile other(archive, reviewer(QStringLiteral("Other")));
        EXPECT_EQ(other.take(true, holder, why), ReviewLock::Outcome::Held);
        EXPECT_EQ(holder.reviewer, QStringLiteral("Me"));
    }
    EXPECT_FALSE(QFileInfo::exists(lockPath)) << "released when it goes";
}

TEST(CaseLockFileTest, ALockTakenOverIsNoLongerOursAndIsLeftToItsNewHolder)
{
    TempDir dir;
    const QString archive = dir.file(QStringLiteral("Q25_0001.aed"));
    const QString lockPath = CaseLockFile::pathFor(archive);
    LockHolder holder;
    QString why;
    CaseLockFile first(archive, reviewer(QStringLiteral("Anna"), QStringLiteral("pc-a")));
    ASSERT_EQ(first.take(false, holder, why), ReviewLock::Outcome::Taken);
    // Three minutes later on another computer Anna's lock looks dead.
    CaseLockFile second(archive, reviewer(QStringLiteral("Bruno"), QStringLiteral("pc-b")), [] { return realNow() + 180; });
    ASSERT_EQ(second.take(false, holder, why), ReviewLock::Outcome::Stale);
    EXPECT_EQ(holder.reviewer, QStringLiteral("Anna"));
    ASSERT_EQ(second.take(true, holder, why), ReviewLock::Outcome::Taken);

    EXPECT_FALSE(first.renew());
    first.release();
    ASSERT_TRUE(QFileInfo::exists(lockPath));
    EXPECT_EQ(CaseLockFile::parse(dir.read(QFileInfo(lockPath).fileName()))->reviewer, QStringLiteral("Bruno"));
    EXPECT_TRUE(second.renew());
}

TEST(CaseLockFileTest, AFolderThatCannotBeWrittenSaysWhyAndWritesNothing)
{
    ReadOnlyFolder folder([](const QString &) {});
    if (!folder.isLocked())
        GTEST_SKIP() << ReadOnlyFolder::skipReason().toStdString();
    const QString archive = folder.path() + QStringLiteral("/Q25_0001.aed");
    CaseLockFile lock(archive, reviewer(QStringLiteral("Me")));
    LockHolder holder;
    QString why;
    EXPECT_EQ(lock.take(false, holder, why), ReviewLock::Outcome::Failed);
    EXPECT_TRUE(why.contains(CaseLockFile::pathFor(archive))) << why.toStdString();
    EXPECT_FALSE(lock.renew());
}

// Another program holds the lock, then dies without a word: held while it runs, stale once
// it is gone, and taken over.
TEST(CaseLockFileTest, AnotherProcessHoldsTheLockUntilItDies)
{
    TempDir dir;
    const QString archive = dir.file(QStringLiteral("Q25_0001.aed"));
    QProcess other;
    other.start(QStringLiteral(RAVELIN_LOCK_HOLDER), {archive, QStringLiteral("Carla")});
    ASSERT_TRUE(other.waitForStarted(10000));
    ASSERT_TRUE(other.waitForReadyRead(10000));
    ASSERT_EQ(other.readAllStandardOutput().trimmed(), QByteArray("taken"));

    const ReviewerIdentity here = ReviewerIdentity::current();
    CaseLockFile lock(archive, reviewer(QStringLiteral("Me"), here.host));
    LockHolder holder;
    QString why;
    EXPECT_EQ(lock.take(true, holder, why), ReviewLock::Outcome::Held);
    EXPECT_EQ(holder.reviewer, QStringLiteral("Carla"));
    EXPECT_EQ(holder.processId, other.processId());

    ::kill(pid_t(other.processId()), SIGKILL);
    ASSERT_TRUE(other.waitForFinished(10000));
    EXPECT_EQ(lock.take(false, holder, why), ReviewLock::Outcome::Stale);
    EXPECT_EQ(lock.take(true, holder, why), ReviewLock::Outcome::Taken);
    EXPECT_EQ(holder.reviewer, QStringLiteral("Me"));
}

} // namespace
