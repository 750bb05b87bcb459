#include "base/FileCopy.h"

#include "base/AtomicFileWriter.h"
#include "base/BinaryReader.h"
#include "base/FileError.h"
#include "base/FileSha256.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString token()
{
    return QString::number(QRandomGenerator::system()->generate64(), 36);
}

// A temporary file removed unless it was given its final name.
struct Temporary
{
    QByteArray path;
    int fd = -1;
    ~Temporary()
    {
        if (fd >= 0)
            ::close(fd);
        if (!path.isEmpty())
            ::unlink(path.constData());
    }
};

void writeAll(int fd, QByteArrayView bytes, const QString &target)
{
    const char *p = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw FileError(target, FileError::Kind::WriteFailed, qt_error_string(errno));
        p += n;
        left -= qsizetype(n);
    }
}

} // namespace

namespace FileCopy {

QString copyNew(const QString &source, const QString &target)
{
    const QByteArray nativeTarget = QFile::encodeName(target);
    struct stat existing {};
    if (::lstat(nativeTarget.constData(), &existing) == 0)
        throw FileError(target, FileError::Kind::CreateFailed, QStringLiteral("A file of that name is there already."));

    Temporary temp;
    for (int attempt = 0; attempt < 16 && temp.fd < 0; ++attempt) {
        const QByteArray path = QFile::encodeName(AtomicFileWriter::temporaryPath(target, token()));
        temp.fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR);
        if (temp.fd >= 0)
            temp.path = path;
        else if (errno != EEXIST)
            throw FileError(target, FileError::Kind::CreateFailed, qt_error_string(errno));
    }
    if (temp.fd < 0)
        throw FileError(target, FileError::Kind::CreateFailed, qt_error_string(EEXIST));

    FileSha256::Hasher hash;
    BinaryReader::readInPieces(source, [&](QByteArrayView piece) {
        hash.add(piece);
        writeAll(temp.fd, piece, target);
    });
    // The copy keeps the source's permission bits, as a copy by hand would.
    struct stat from {};
    const mode_t mode = ::stat(QFile::encodeName(source).constData(), &from) == 0 ? mode_t(from.st_mode & 0777)
                                                                                  : mode_t(S_IRUSR | S_IWUSR);
    if (::fsync(temp.fd) != 0 || ::fchmod(temp.fd, mode) != 0)
        throw FileError(target, FileError::Kind::WriteFailed, qt_error_string(errno));
    ::close(temp.fd);
    temp.fd = -1;
    // link() gives the copy its name only where none is: it never replaces a file or follows a link.
    if (::link(temp.path.constData(), nativeTarget.constData()) == 0)
        return hash.hex();
    // File systems without hard links (a memory card's) get a rename, after one more look.
    const int error = errno;
    if ((error != EPERM && error != EOPNOTSUPP) || ::lstat(nativeTarget.constData(), &existing) == 0)
        throw FileError(target, FileError::Kind::CreateFailed, qt_error_string(error == EPERM || error == EOPNOTSUPP ? EEXIST : error));
    if (::rename(temp.path.constData(), nativeTarget.constData()) != 0)
        throw FileError(target, FileError::Kind::CreateFailed, qt_error_string(errno));
    temp.path.clear();
    return hash.hex();
}

} // namespace FileCopy
