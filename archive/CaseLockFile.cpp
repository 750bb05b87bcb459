#include "archive/CaseLockFile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {
const QByteArray Magic = QByteArrayLiteral("Ravelin review lock");
const QString Unknown = QStringLiteral("unknown");

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

int64_t mtimeNsOf(const struct stat &st)
{
    return int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

// One line of the file: control characters (a newline above all) would end the value early.
QByteArray line(const char *key, const QString &value)
{
    QString clean = value;
    for (QChar &c : clean)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    return QByteArray(key) + ": " + clean.toUtf8() + '\n';
}

// Reads at most limit bytes from the start of fd; false on a read error.
bool readAll(int fd, qint64 limit, QByteArray &out)
{
    out.resize(limit);
    qint64 got = 0;
    while (got < limit) {
        const ssize_t n = ::pread(fd, out.data() + got, size_t(limit - got), got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        got += n;
    }
    out.resize(got);
    return true;
}

bool writeAll(int fd, const QByteArray &data)
{
    qint64 done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// Renames without replacing whatever may be at to; link + unlink where the file system has
// no such rename.
int renameNoReplace(const QByteArray &from, const QByteArray &to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return -1;
    if (::link(from.constData(), to.constData()) != 0)
        return -1;
    return ::unlink(from.constData());
}

bool identifiesHost(const QString &host)
{
    // Two computers that both call themselves "localhost" are not one host.
    return !host.isEmpty() && host.compare(Unknown) != 0 && !host.startsWith(QLatin1String("localhost"), Qt::CaseInsensitive);
}
} // namespace

CaseLockFile::CaseLockFile(const QString &archivePath, ReviewerIdentity me, Clock now)
    : m_path(pathFor(archivePath)), m_me(std::move(me)), m_now(std::move(now))
{
}

CaseLockFile::~CaseLockFile()
{
    release();
}

QString CaseLockFile::pathFor(const QString &archivePath)
{
    const QFileInfo info(archivePath);
    const QString folder = archivePath.contains(QLatin1Char('/')) ? info.path() + QLatin1Char('/') : QString();
    return folder + QStringLiteral(".~") + info.fileName() + QStringLiteral(".lock");
}

int64_t CaseLockFile::now() const
{
    return m_now ? m_now() : QDateTime::currentSecsSinceEpoch();
}

QByteArray CaseLockFile::format(const LockHolder &holder)
{
    return Magic + '\n' + line("reviewer", holder.reviewer) + line("host", holder.host)
        + line("pid", QString::number(holder.processId)) + line("since", QString::number(holder.since));
}

std::optional<LockHolder> CaseLockFile::parse(const QByteArray &contents)
{
    const QList<QByteArray> lines = contents.split('\n');
    if (lines.isEmpty() || lines.first().trimmed() != Magic)
        return std::nullopt;
    LockHolder holder;
    bool pidRead = false;
    bool sinceRead = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon < 0)
            continue;
        const QByteArray key = lines[i].left(colon).trimmed();
        const QString value = QString::fromUtf8(lines[i].mid(colon + 1)).trimmed();
        if (key == "reviewer")
            holder.reviewer = value;
        else if (key == "host")
            holder.host = value;
        else if (key == "pid")
            holder.processId = value.toLongLong(&pidRead);
        else if (key == "since")
            holder.since = value.toLongLong(&sinceRead);
    }
    if (holder.reviewer.isEmpty() || holder.host.isEmpty() || !pidRead || holder.processId <= 0 || !sinceRead
        || holder.since < 0)
        return std::nullopt;
    holder.renewed = holder.since;
    return holder;
}

bool CaseLockFile::isStale(const LockHolder &holder, const QString &thisHost, int64_t now, Process process)
{
    const bool sameHost = identifiesHost(holder.host) && holder.host.compare(thisHost, Qt::CaseInsensitive) == 0;
    if (sameHost && process == Process::Gone)
        return true;
    return now - holder.renewed >= StaleSeconds;
}

CaseLockFile::Process CaseLockFile::processState(int64_t pid)
{
    // 0 and negative numbers name process groups, never one process.
    if (pid <= 0 || pid > INT_MAX)
        return Process::Unknown;
    if (::kill(pid_t(pid), 0) == 0 || errno == EPERM)
        return Process::Alive;
    return errno == ESRCH ? Process::Gone : Process::Unknown;
}

CaseLockFile::Found CaseLockFile::inspect() const
{
    Found found;
    const int fd = ::open(encoded(m_path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        found.kind = error == ENOENT ? Found::Kind::Missing : Found::Kind::NotALock;
        found.why = error == ELOOP ? QStringLiteral("it is a symbolic link, not a lock file") : systemError(error);
        return found;
    }
    struct stat st {};
    found.kind = Found::Kind::NotALock;
    if (::fstat(fd, &st) != 0)
        found.why = systemError(errno);
    else if (!S_ISREG(st.st_mode))
        found.why = QStringLiteral("it is not a regular file");
    else if (st.st_size > MaxBytes)
        found.why = QStringLiteral("it is too large to be a lock file");
    else if (!readAll(fd, MaxBytes + 1, found.contents))
        found.why = systemError(errno);
    else
        found.kind = Found::Kind::Lock;
    ::close(fd);
    if (found.kind != Found::Kind::Lock)
        return found;
    found.device = st.st_dev;
    found.inode = st.st_ino;
    found.mtimeNs = mtimeNsOf(st);
    // A damaged or foreign file, or one that another taker is just writing, is held by an
    // unknown reviewer since it was last touched.
    if (std::optional<LockHolder> holder = parse(found.contents)) {
        found.holder = *holder;
    } else {
        found.holder.reviewer = Unknown;
        found.holder.host = Unknown;
        found.holder.since = st.st_mtim.tv_sec;
    }
    found.holder.renewed = st.st_mtim.tv_sec;
    return found;
}

ReviewLock::Outcome CaseLockFile::create(LockHolder &holder, QString &why)
{
    const QByteArray name = encoded(m_path);
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (errno == EEXIST)
            return Outcome::Held;
        why = QStringLiteral("%1 cannot be created: %2").arg(m_path, systemError(errno));
        return Outcome::Failed;
    }
    LockHolder mine;
    mine.reviewer = m_me.name;
    mine.host = m_me.host;
    mine.processId = m_me.processId;
    mine.since = now();
    const QByteArray contents = format(mine);
    struct stat st {};
    // Everyone may read who holds the case, whatever the umask says.
    if (::fchmod(fd, 0644) != 0 || !writeAll(fd, contents) || ::fstat(fd, &st) != 0) {
        why = QStringLiteral("%1 cannot be written: %2").arg(m_path, systemError(errno));
        struct stat atName {};
        if (::lstat(name.constData(), &atName) == 0 && atName.st_ino == st.st_ino && atName.st_dev == st.st_dev)
            ::unlink(name.constData());
        ::close(fd);
        return Outcome::Failed;
    }
    m_fd = fd;
    m_device = st.st_dev;
    m_inode = st.st_ino;
    m_contents = contents;
    mine.renewed = st.st_mtim.tv_sec;
    holder = mine;
    return Outcome::Taken;
}

bool CaseLockFile::removeStale(const Found &stale, QString &why)
{
    // The stale file goes under a name of its own first, so that of two takers only one gets
    // it; what was renamed is then checked to be the file judged stale (same file, untouched
    // since), else it goes back: another taker got there first, or its holder renewed.
    const QFileInfo info(m_path);
    const QString aside = info.path() + QLatin1Char('/') + info.fileName()
        + QStringLiteral(".%1.stale").arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'));
    const QByteArray from = encoded(m_path);
    const QByteArray to = encoded(aside);
    if (renameNoReplace(from, to) != 0) {
        if (errno != ENOENT)
            why = QStringLiteral("%1 cannot be taken over: %2").arg(m_path, systemError(errno));
        return false;
    }
    bool same = false;
    const int fd = ::open(to.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0) {
        struct stat st {};
        QByteArray contents;
        same = ::fstat(fd, &st) == 0 && st.st_dev == stale.device && st.st_ino == stale.inode
            && mtimeNsOf(st) == stale.mtimeNs && readAll(fd, MaxBytes + 1, contents) && contents == stale.contents;
        ::close(fd);
    }
    if (same)
        return ::unlink(to.constData()) == 0 || errno == ENOENT;
    // Not ours to remove: back where it was (unless its name has been taken meanwhile, when it
    // stays aside rather than replace anything).
    renameNoReplace(to, from);
    return false;
}

ReviewLock::Outcome CaseLockFile::take(bool takeOverStale, LockHolder &holder, QString &why)
{
    if (m_fd >= 0) {
        holder = parse(m_contents).value_or(LockHolder{});
        return Outcome::Taken;
    }
    why.clear();
    // Each round either makes the file or looks at the one in the way; a file that vanishes
    // or changes under us is looked at again, a few times at most.
    for (int round = 0; round < 4; ++round) {
        const Outcome made = create(holder, why);
        if (made != Outcome::Held)
            return made;
        const Found found = inspect();
        if (found.kind == Found::Kind::Missing)
            continue;
        if (found.kind == Found::Kind::NotALock) {
            why = QStringLiteral("%1 is in the way of the lock: %2").arg(m_path, found.why);
            return Outcome::Failed;
        }
        holder = found.holder;
        if (!isStale(found.holder, m_me.host, now(), processState(found.holder.processId)))
            return Outcome::Held;
        if (!takeOverStale)
            return Outcome::Stale;
        if (!removeStale(found, why) && !why.isEmpty())
            return Outcome::Failed;
    }
    return Outcome::Held;
}

bool CaseLockFile::stillOurs() const
{
    struct stat st {};
    if (::lstat(encoded(m_path).constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_dev != m_device
        || st.st_ino != m_inode)
        return false;
    QByteArray contents;
    return readAll(m_fd, MaxBytes + 1, contents) && contents == m_contents;
}

bool CaseLockFile::renew()
{
    if (m_fd < 0)
        return false;
    // A taker that renamed the file to look at it puts it back at once: a missing name is
    // looked for again before the lock counts as lost.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (stillOurs()) {
            // A touch that fails (a folder remounted read-only) leaves the lock ours all the same.
            (void)::futimens(m_fd, nullptr);
            return true;
        }
        struct stat st {};
        if (::lstat(encoded(m_path).constData(), &st) == 0 || errno != ENOENT)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::close(m_fd);
    m_fd = -1;
    return false;
}

void CaseLockFile::release()
{
    if (m_fd < 0)
        return;
    if (stillOurs())
        ::unlink(encoded(m_path).constData());
    ::close(m_fd);
    m_fd = -1;
}
