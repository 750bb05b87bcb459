#include "base/BinaryReader.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

[[noreturn]] void failWithErrno(const QString &path, int error)
{
    if (error == ENOENT || error == ENOTDIR)
        throw FileError(path, FileError::Kind::NotFound);
    throw FileError(path, FileError::Kind::OpenFailed, qt_error_string(error));
}

void checkKindAndSize(const QString &path, const struct stat &info, qint64 maxBytes)
{
    if (!S_ISREG(info.st_mode))
        throw FileError(path, FileError::Kind::NotAFile);
    if (info.st_size > maxBytes)
        throw FileError(path, FileError::Kind::TooLarge,
                        QStringLiteral("It holds %1 bytes; at most %2 are read.").arg(info.st_size).arg(maxBytes));
}

} // namespace

BinaryReader::BinaryReader(QByteArray data, QString path)
    : m_data(std::move(data)), m_path(std::move(path))
{
}

QByteArray BinaryReader::readWholeFile(const QString &path, qint64 maxBytes)
{
    const QByteArray native = QFile::encodeName(path);
    // The kind is checked before the open, so that opening a device has no effect, and
    // again on what was opened, in case the name was replaced in between. The open does
    // not block: a pipe without a writer is refused, not waited for.
    struct stat info {};
    if (::stat(native.constData(), &info) != 0)
        failWithErrno(path, errno);
    checkKindAndSize(path, info, maxBytes);
    const Descriptor fd(::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0)
        failWithErrno(path, errno);
    if (::fstat(fd.get(), &info) != 0)
        failWithErrno(path, errno);
    checkKindAndSize(path, info, maxBytes);

    // Read to the end, which may come later than the size said if the file grows.
    QByteArray data;
    data.resize(qsizetype(std::max<qint64>(info.st_size, 0)) + 1);
    qsizetype filled = 0;
    for (;;) {
        if (filled == data.size()) {
            if (filled > maxBytes)
                throw FileError(path, FileError::Kind::TooLarge);
            data.resize(qsizetype(std::min<qint64>(qint64(filled) * 2 + 4096, maxBytes + 1)));
        }
        const ssize_t n = ::read(fd.get(), data.data() + filled, size_t(data.size() - filled));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            failWithErrno(path, errno);
        if (n == 0)
            break;
        filled += qsizetype(n);
    }
    if (filled > maxBytes)
        throw FileError(path, FileError::Kind::TooLarge);
    data.truncate(filled);
    return data;
}

BinaryReader BinaryReader::fromFile(const QString &path)
{
    return BinaryReader(readWholeFile(path), path);
}

void BinaryReader::fail(FileError::Kind kind, const QString &detail) const
{
    throw FileError(m_path, kind, detail);
}

void BinaryReader::require(uint64_t count) const
{
    if (count > uint64_t(remaining()))
        fail(FileError::Kind::EndOfFile);
}

void BinaryReader::seek(qsizetype pos)
{
    if (pos < 0 || pos > m_data.size())
        fail(FileError::Kind::EndOfFile);
    m_pos = pos;
}

void BinaryReader::skip(qsizetype count)
{
    require(uint64_t(count));
    m_pos += count;
}

uint8_t BinaryReader::u8()
{
    require(1);
    return uint8_t(m_data[m_pos++]);
}

uint16_t BinaryReader::u16()
{
    require(2);
    const auto *p = reinterpret_cast<const uint8_t *>(m_data.constData() + m_pos);
    m_pos += 2;
    return uint16_t(p[0] | (p[1] << 8));
}

uint32_t BinaryReader::u32()
{
    require(4);
    const auto *p = reinterpret_cast<const uint8_t *>(m_data.constData() + m_pos);
    m_pos += 4;
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

uint64_t BinaryReader::u64()
{
    const uint64_t low = u32();
    const uint64_t high = u32();
    return low | (high << 32);
}

QByteArray BinaryReader::bytes(uint64_t count)
{
    require(count);
    QByteArray out = m_data.mid(m_pos, qsizetype(count));
    m_pos += qsizetype(count);
    return out;
}

QByteArray BinaryReader::peek(qsizetype count) const
{
    return m_data.mid(m_pos, count);
}
