#pragma once

#include "base/FileError.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

// Bounds-checked little-endian reader over bytes read whole from one file. Every read
// past the end, and every length that does not fit in what is left, throws FileError
// (EndOfFile) naming the file, before anything is allocated.
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

    const QString &path() const { return m_path; }
    qsizetype size() const { return m_data.size(); }
    qsizetype position() const { return m_pos; }
    qsizetype remaining() const { return m_data.size() - m_pos; }
    bool atEnd() const { return m_pos >= m_data.size(); }
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
    // Bytes ahead without moving; fewer when the file ends earlier.
    QByteArray peek(qsizetype count) const;

    // Throws EndOfFile unless count bytes are left.
    void require(uint64_t count) const;
    [[noreturn]] void fail(FileError::Kind kind, const QString &detail = {}) const;

private:
    QByteArray m_data;
    QString m_path;
    qsizetype m_pos = 0;
};
