#include "base/BinaryReader.h"
#include "base/LargeBuffer.h"

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
    ~Descriptor() { reset(-1); }
    void reset(int fd)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
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

// Opens a regular file for reading into fd and fills info. The kind is checked before the
// open, so that opening a device has no effect, and again on what was opened, in case the
// name was replaced in between. The open does not block: a pipe without a writer is
// refused, not waited for.
void openChecked(const QString &path, qint64 maxBytes, Descriptor &fd, struct stat &info)
{
    const QByteArray native = QFile::encodeName(path);
    if (::stat(native.constData(), &info) != 0)
        failWithErrno(path, errno);
    checkKindAndSize(path, info, maxBytes);
    fd.reset(::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0)
        failWithErrno(path, errno);
    if (::fstat(fd.get(), &info) != 0)
        failWithErrno(path, errno);
    checkKindAndSize(path, info, maxBytes);
}

// Reads up to count bytes at offset; returns how many the file had there.
qsizetype readAt(const QString &path, const Descriptor &fd, qint64 offset, char *to, qsizetype count)
{
    qsizetype filled = 0;
    while (filled < count) {
        const ssize_t n = ::pread(fd.get(), to + filled, size_t(count - filled), off_t(offset + filled));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            failWithErrno(path, errno);
        if (n == 0)
            break;
        filled += qsizetype(n);
    }
    return filled;
}

// Small values of a streamed file are read through a buffer of this size.
constexpr qsizetype StreamChunk = 64 * 1024;

} // namespace

class BinaryReader::Source
{
public:
    Descriptor fd{-1};
};

BinaryReader::BinaryReader(QByteArray data, QString path)
    : m_data(std::move(data)), m_path(std::move(path)), m_size(m_data.size())
{
}

QByteArray BinaryReader::readWholeFile(const QString &path, qint64 maxBytes)
{
    Descriptor fd(-1);
    struct stat info {};
    openChecked(path, maxBytes, fd, info);

    // Read to the end, which may come later than the size said if the file grows.
    QByteArray data = LargeBuffer::uninitialized(qsizetype(std::max<qint64>(info.st_size, 0)) + 1);
    qsizetype filled = 0;
    for (;;) {
        if (filled == data.size()) {
            if (filled > maxBytes)
                throw FileError(path, FileError::Kind::TooLarge);
            data.resize(qsizetype(std::min<qint64>(qint64(filled) * 2 + 4096, maxBytes + 1)));
        }
        const qsizetype wanted = data.size() - filled;
        const qsizetype got = readAt(path, fd, filled, data.data() + filled, wanted);
        filled += got;
        if (got < wanted)
            break;
    }
    if (filled > maxBytes)
        throw FileError(path, FileError::Kind::TooLarge);
    data.truncate(filled);
    return data;
}

void BinaryReader::readInPieces(const QString &path, const std::function<void(QByteArrayView piece)> &arrived,
                                qint64 maxBytes)
{
    Descriptor fd(-1);
    struct stat info {};
    openChecked(path, maxBytes, fd, info);
    QByteArray buffer(InPiecesBytes, Qt::Uninitialized);
    qint64 filled = 0;
    for (;;) {
        const qsizetype got = readAt(path, fd, filled, buffer.data(), buffer.size());
        filled += got;
        if (filled > maxBytes)
            throw FileError(path, FileError::Kind::TooLarge);
        if (got > 0)
            arrived(QByteArrayView(buffer).first(got));
        if (got < buffer.size())
            return;
    }
}

BinaryReader::FileStart BinaryReader::readFileStart(const QString &path, qsizetype count, qint64 maxBytes)
{
    Descriptor fd(-1);
    struct stat info {};
    openChecked(path, maxBytes, fd, info);
    FileStart start;
    start.size = qint64(info.st_size);
    start.bytes.resize(std::max<qsizetype>(count, 0));
    start.bytes.truncate(readAt(path, fd, 0, start.bytes.data(), start.bytes.size()));
    return start;
}

BinaryReader BinaryReader::streamFile(const QString &path, qint64 maxBytes)
{
    auto source = std::make_shared<Source>();
    struct stat info {};
    openChecked(path, maxBytes, source->fd, info);
    BinaryReader reader(QByteArray(), path);
    reader.m_size = qsizetype(info.st_size);
    reader.m_source = std::move(source);
    return reader;
}

void BinaryReader::fill(qsizetype count)
{
    const qsizetype at = position();
    const qsizetype want = std::min<qsizetype>(std::max(count, StreamChunk), m_size - at);
    QByteArray buffer(want, Qt::Uninitialized);
    const qsizetype got = readAt(m_path, m_source->fd, at, buffer.data(), want);
    buffer.truncate(got);
    m_data = std::move(buffer);
    m_base = at;
    m_pos = 0;
    if (got < count)
        fail(FileError::Kind::EndOfFile);
}

BinaryReader BinaryReader::fromFile(const QString &path)
{
    return BinaryReader(readWholeFile(path), path);
}

void BinaryReader::fail(FileError::Kind kind, const QString &detail) const
{
    throw FileError(m_path, kind, detail);
}

void BinaryReader::require(uint64_t count)
{
    if (count > uint64_t(remaining()))
        fail(FileError::Kind::EndOfFile);
    if (m_source && m_pos + qsizetype(count) > m_data.size())
        fill(qsizetype(count));
}

void BinaryReader::seek(qsizetype pos)
{
    if (pos < 0 || pos > m_size)
        fail(FileError::Kind::EndOfFile);
    if (pos >= m_base && pos <= m_base + m_data.size()) {
        m_pos = pos - m_base;
        return;
    }
    m_data = QByteArray();
    m_base = pos;
    m_pos = 0;
}

void BinaryReader::skip(qsizetype count)
{
    if (count < 0 || uint64_t(count) > uint64_t(remaining()))
        fail(FileError::Kind::EndOfFile);
    seek(position() + count);
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
    return bytes(count, {});
}

QByteArray BinaryReader::bytes(uint64_t count, const std::function<void(const char *data, qsizetype n)> &arrived)
{
    if (count > uint64_t(remaining()))
        fail(FileError::Kind::EndOfFile);
    const auto n = qsizetype(count);
    if (m_source && m_pos + n > m_data.size() && n > StreamChunk) {
        // A long run goes from the file straight into its own array.
        const qsizetype buffered = m_data.size() - m_pos;
        QByteArray out = LargeBuffer::uninitialized(n);
        std::copy_n(m_data.constData() + m_pos, buffered, out.data());
        const qsizetype at = position() + buffered;
        // Without a caller waiting for pieces, the run is one read.
        const qsizetype piece = arrived ? PieceBytes : n;
        for (qsizetype done = buffered; done < n;) {
            const qsizetype want = std::min(piece, n - done);
            if (readAt(m_path, m_source->fd, at + (done - buffered), out.data() + done, want) < want)
                fail(FileError::Kind::EndOfFile);
            done += want;
            if (arrived)
                arrived(out.constData(), done);
        }
        m_data = QByteArray();
        m_base = at + (n - buffered);
        m_pos = 0;
        return out;
    }
    require(count);
    QByteArray out = m_data.mid(m_pos, n);
    m_pos += n;
    if (arrived)
        arrived(out.constData(), n);
    return out;
}

QByteArray BinaryReader::peek(qsizetype count)
{
    count = std::min<qsizetype>(std::max<qsizetype>(count, 0), remaining());
    require(uint64_t(count));
    return m_data.mid(m_pos, count);
}
