#include "base/AtomicFileWriter.h"

#include "base/FileError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace AtomicFileWriter {

namespace {

constexpr int TokenLength = 8;
constexpr int MaxNameTries = 64;
constexpr int MaxLinkDepth = 40;
const QLatin1String TemporarySuffix(".tmp~");

QString randomToken()
{
    static const char alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString token;
    for (int i = 0; i < TokenLength; ++i)
        token += QLatin1Char(alphabet[QRandomGenerator::system()->bounded(int(sizeof alphabet) - 1)]);
    return token;
}

// A temporary file of target left by an earlier write: ".<name>.<token>.tmp~", or the
// "<name>.tmp~" that older versions used.
bool isTemporaryOf(const QString &entry, const QString &name)
{
    if (entry == name + TemporarySuffix)
        return true;
    const QString prefix = QLatin1Char('.') + name + QLatin1Char('.');
    if (!entry.startsWith(prefix) || !entry.endsWith(TemporarySuffix))
        return false;
    const QStringView token = QStringView(entry).mid(prefix.size(), entry.size() - prefix.size() - TemporarySuffix.size());
    if (token.size() != TokenLength)
        return false;
    return std::all_of(token.begin(), token.end(), [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
    });
}

void removeLeftovers(const QString &target)
{
    const QFileInfo info(target);
    const QDir folder = info.dir();
    const QStringList entries = folder.entryList(QDir::Files | QDir::System | QDir::Hidden);
    for (const QString &entry : entries) {
        // unlink removes a planted link itself, never what it points to.
        if (isTemporaryOf(entry, info.fileName()))
            ::unlink(QFile::encodeName(folder.filePath(entry)).constData());
    }
}

class TemporaryFile
{
public:
    ~TemporaryFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_path.isEmpty())
            ::unlink(m_native.constData());
    }

    // Creates the file exclusively; a name that exists (a file or a link) is passed over.
    // Returns 0, or the errno of the failure.
    int create(const QString &target, const std::function<QString()> &tokens)
    {
        for (int attempt = 0; attempt < MaxNameTries; ++attempt) {
            const QString path = temporaryPath(target, tokens ? tokens() : randomToken());
            const QByteArray native = QFile::encodeName(path);
            // 0666 less the umask shows the user's normal mode for a new file; the file is
            // made private before a byte is written.
            const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
            if (fd < 0) {
                if (errno == EEXIST)
                    continue;
                return errno;
            }
            m_fd = fd;
            m_path = path;
            m_native = native;
            struct stat info {};
            if (::fstat(fd, &info) != 0 || ::fchmod(fd, S_IRUSR | S_IWUSR) != 0)
                return errno;
            m_newFileMode = info.st_mode & 0777;
            return 0;
        }
        return EEXIST;
    }

    // Appends bytes; 0 or errno.
    int append(const char *p, qsizetype left)
    {
        // The disk starts on each stretch as soon as it is written, while the next one is
        // being copied; the sync at the end then waits only for the last of them.
        while (left > 0) {
            const ssize_t n = ::write(m_fd, p, size_t(std::min<qsizetype>(left, FlushStretch)));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return errno;
            p += n;
            left -= qsizetype(n);
            m_written += off_t(n);
            if (m_written - m_flushed >= FlushStretch) {
                startWriteBack(m_flushed, m_written - m_flushed);
                m_flushed = m_written;
            }
        }
        return 0;
    }

    // Syncs, gives the file its final mode and closes it; 0 or errno.
    int finish(mode_t mode)
    {
        if (::fsync(m_fd) != 0 || ::fchmod(m_fd, mode) != 0)
            return errno;
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

    // Renames the file over target; 0 or errno. Afterwards the file is no longer ours to remove.
    int renameOver(const QString &target)
    {
        if (std::rename(m_native.constData(), QFile::encodeName(target).constData()) != 0)
            return errno;
        m_path.clear();
        return 0;
    }

    // Gives the file the name target as well, only while nothing (not even a dangling link)
    // has that name; the temporary name goes with the destructor. 0, or the errno: EEXIST
    // when the name is taken.
    int linkAs(const QString &target)
    {
        const QByteArray name = QFile::encodeName(target);
        if (::link(m_native.constData(), name.constData()) == 0)
            return 0;
        int error = errno;
#ifdef RENAME_NOREPLACE
        // File systems without hard links (a FAT memory card) can still rename without replacing.
        if (error == EPERM || error == EOPNOTSUPP || error == ENOSYS) {
            if (::renameat2(AT_FDCWD, m_native.constData(), AT_FDCWD, name.constData(), RENAME_NOREPLACE) == 0) {
                m_path.clear();
                return 0;
            }
            error = errno == EINVAL || errno == ENOSYS ? error : errno;
        }
#endif
        return error;
    }

    mode_t newFileMode() const { return m_newFileMode; }

private:
    static constexpr qsizetype FlushStretch = qsizetype(4) << 20;

    // Asks the system to start writing [offset, offset + count) to the disk without
    // waiting; only a hint, the sync at the end is what makes the file durable.
    void startWriteBack(off_t offset, off_t count)
    {
#if defined(__linux__) && defined(SYNC_FILE_RANGE_WRITE)
        ::sync_file_range(m_fd, offset, count, SYNC_FILE_RANGE_WRITE);
#else
        (void)offset;
        (void)count;
#endif
    }

    int m_fd = -1;
    off_t m_written = 0;
    off_t m_flushed = 0;
    QString m_path;
    QByteArray m_native;
    mode_t m_newFileMode = 0644;
};

// The rename reaches the disk only once the folder holding it is synced.
void syncFolderOf(const QString &target)
{
    const int fd = ::open(QFile::encodeName(QFileInfo(target).absolutePath()).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

QString finalPath(const QString &path)
{
    QFileInfo info(path);
    for (int depth = 0; depth < MaxLinkDepth; ++depth) {
        if (!info.isSymLink())
            return info.filePath();
        info.setFile(info.symLinkTarget());
    }
    return path;
}

QString temporaryPath(const QString &target, const QString &token)
{
    const QFileInfo info(target);
    return info.dir().filePath(QLatin1Char('.') + info.fileName() + QLatin1Char('.') + token + TemporarySuffix);
}

void write(const QString &path, const QByteArray &data)
{
    write(path, QByteArrayList{data}, {});
}

void write(const QString &path, const QByteArrayList &parts)
{
    write(path, parts, {});
}

void write(const QString &path, const QByteArray &data, const std::function<QString()> &tokens)
{
    write(path, QByteArrayList{data}, tokens);
}

void write(const QString &path, const QByteArrayList &parts, const std::function<QString()> &tokens)
{
    writeStreamed(
        path,
        [&](const Sink &put) {
            for (const QByteArray &data : parts)
                put(data);
        },
        tokens);
}

namespace {

// The temporary file of target filled by produce, synced and closed with mode (0: the mode a
// new file gets). Errors name path.
void fillTemporary(TemporaryFile &temp, const QString &path, const QString &target, const Producer &produce,
                   const std::function<QString()> &tokens, const std::function<mode_t(mode_t)> &modeOf)
{
    if (const int error = temp.create(target, tokens); error != 0)
        throw FileError(path, FileError::Kind::CreateFailed, qt_error_string(error));
    produce([&](QByteArrayView piece) {
        if (const int error = temp.append(piece.data(), piece.size()); error != 0)
            throw FileError(path, FileError::Kind::WriteFailed, qt_error_string(error));
    });
    if (const int error = temp.finish(modeOf(temp.newFileMode())); error != 0)
        throw FileError(path, FileError::Kind::WriteFailed, qt_error_string(error));
}

} // namespace

namespace {

// writeStreamed onto target, the file itself whatever is there; private: with mode 0600,
// else a replaced file's mode or a new file's.
void replaceWith(const QString &path, const QString &target, const Producer &produce,
                 const std::function<QString()> &tokens, bool isPrivate = false)
{
    TemporaryFile temp;
    fillTemporary(temp, path, target, produce, tokens, [&](mode_t newFileMode) {
        if (isPrivate)
            return mode_t(S_IRUSR | S_IWUSR);
        struct stat existing {};
        const bool replacing =
            ::stat(QFile::encodeName(target).constData(), &existing) == 0 && S_ISREG(existing.st_mode);
        return replacing ? mode_t(existing.st_mode & 0777) : newFileMode;
    });
    if (const int error = temp.renameOver(target); error != 0)
        throw FileError(path, FileError::Kind::WriteFailed, qt_error_string(error));
    syncFolderOf(target);
    removeLeftovers(target);
}

} // namespace

void writeStreamed(const QString &path, const Producer &produce, const std::function<QString()> &tokens)
{
    replaceWith(path, finalPath(path), produce, tokens);
}

namespace {

// Throws FileError CreateFailed naming path when something but a regular file is there.
void refuseAllButAFile(const QString &path)
{
    struct stat existing {};
    if (::lstat(QFile::encodeName(path).constData(), &existing) == 0 && !S_ISREG(existing.st_mode))
        throw FileError(path, FileError::Kind::CreateFailed,
                        S_ISLNK(existing.st_mode) ? QStringLiteral("It is a symbolic link, which is never written through.")
                                                  : QStringLiteral("It is not a regular file."));
}

} // namespace

void writeOwn(const QString &path, const QByteArray &data)
{
    refuseAllButAFile(path);
    replaceWith(path, path, [&](const Sink &put) { put(data); }, {});
}

void writePrivate(const QString &path, const QByteArray &data)
{
    refuseAllButAFile(path);
    replaceWith(path, path, [&](const Sink &put) { put(data); }, {}, true);
}

bool createNew(const QString &path, const Producer &produce, const std::function<QString()> &tokens)
{
    // Looked at first so that a file already there costs no copy; the link below decides.
    struct stat existing {};
    if (::lstat(QFile::encodeName(path).constData(), &existing) == 0)
        return false;
    TemporaryFile temp;
    fillTemporary(temp, path, path, produce, tokens, [](mode_t newFileMode) { return newFileMode; });
    const int error = temp.linkAs(path);
    if (error == EEXIST)
        return false;
    if (error != 0)
        throw FileError(path, FileError::Kind::CreateFailed, qt_error_string(error));
    syncFolderOf(path);
    removeLeftovers(path);
    return true;
}

} // namespace AtomicFileWriter
