#pragma once

#include "base/FileError.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

// Bounds-checked little-endian reader over the bytes of one file: read whole before, or
// read from the file as the reads reach them (streamFile). Every read past the end, and
// every length that does not fit in what is left, throws FileError (EndOfFile) naming the
// file, before anything is allocated.
class BinaryReader
{
public:
    BinaryReader(QByteArray data, QString path);

    // No archive, device file or companion file is larger than this (2 GiB).
    static constexpr qint64 MaxFileBytes = qint64(1) << 31;

    // Reads a whole regular file (a link to one is followed). Throws, naming the path,
    // before anything is allocated or waited for: NotFound, OpenFailed (with the system's
    // reason), NotAFile for a folder, a device or a pipe, TooLarge above maxBytes.
    static QByteArray readWholeFile(const QString &path, qint64 maxBytes = MaxFileBytes);
    static BinaryReader fromFile(const QString &path);
    // A reader over a file that is read as the reads reach it: small values through a
    // buffer of a few kilobytes, and a long run of bytes (bytes()) straight into the array
    // returned, so that no second copy of the file is ever held. The file's size is taken
    // when it is opened, with the checks of readWholeFile; a file that is cut shorter while
    // it is read gives EndOfFile at the read that misses its bytes.
    static BinaryReader streamFile(const QString &path, qint64 maxBytes = MaxFileBytes);

    // Reads a whole file, with the checks and errors of readWholeFile, through a buffer of
    // InPiecesBytes that stays in the processor's cache: arrived(piece) is called for each
    // piece in order, and the file is never held whole.
    static constexpr qsizetype InPiecesBytes = 256 * 1024;
    static void readInPieces(const QString &path, const std::function<void(QByteArrayView piece)> &arrived,
                             qint64 maxBytes = MaxFileBytes);

    // The first count bytes of a file (fewer when it is shorter) and its whole size, with
    // the checks and errors of readWholeFile; nothing after them is read.
    struct FileStart
    {
        QByteArray bytes;
        qint64 size = 0;
    };
    static FileStart readFileStart(const QString &path, qsizetype count, qint64 maxBytes = MaxFileBytes);

    const QString &path() const { return m_path; }
    qsizetype size() const { return m_size; }
    qsizetype position() const { return m_base + m_pos; }
    qsizetype remaining() const { return m_size - position(); }
    bool atEnd() const { return position() >= m_size; }
    // All the bytes of a reader over bytes; of a streamed file only those buffered last.
    const QByteArray &data() const { return m_data; }

    void seek(qsizetype pos);
    void skip(qsizetype count);

    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    uint64_t u64();
    int16_t i16() { return int16_t(u16()); }
    int32_t i32() { return int32_t(u32()); }
    int64_t i64() { return int64_t(u64()); }
    // Reads count bytes; count is checked against what is left first.
    QByteArray bytes(uint64_t count);
    // The same, calling arrived(data, n) whenever the first n bytes of the array are in: for
    // a long run of a streamed file after each piece of PieceBytes, so that the caller can
    // work on a piece while it is still in the processor's cache; else once, with all.
    static constexpr qsizetype PieceBytes = 64 * 1024;
    QByteArray bytes(uint64_t count, const std::function<void(const char *data, qsizetype n)> &arrived);
    // Bytes ahead without moving; fewer when the file ends earlier.
    QByteArray peek(qsizetype count);

    // Throws EndOfFile unless count bytes are left; of a streamed file they are then buffered.
    void require(uint64_t count);
    [[noreturn]] void fail(FileError::Kind kind, const QString &detail = {}) const;

private:
    class Source;
    // Makes the buffer hold count bytes from the position on (a streamed file only).
    void fill(qsizetype count);

    QByteArray m_data;       // the bytes, or a streamed file's buffer
    QString m_path;
    qsizetype m_pos = 0;     // position within m_data
    qsizetype m_base = 0;    // file offset of m_data[0]
    qsizetype m_size = 0;    // bytes of the whole file
    std::shared_ptr<Source> m_source; // the open file of a streamed reader
};
