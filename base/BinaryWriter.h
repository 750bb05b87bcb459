#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <utility>

// Buffered little-endian writer. Bytes collect in memory; commitTo() hands them to
// AtomicFileWriter so that the target is replaced whole or not at all.
class BinaryWriter
{
public:
    void u8(uint8_t v) { m_data.append(char(v)); }
    void u16(uint16_t v);
    void u32(uint32_t v);
    void u64(uint64_t v);
    void i32(int32_t v) { u32(uint32_t(v)); }
    void i64(int64_t v) { u64(uint64_t(v)); }
    void bytes(const QByteArray &b) { m_data.append(b); }
    void bytes(const char *p, qsizetype n) { m_data.append(p, n); }

    const QByteArray &data() const { return m_data; }
    // The bytes written so far, leaving the writer empty.
    QByteArray take() { return std::exchange(m_data, QByteArray()); }
    qsizetype size() const { return m_data.size(); }

    // Writes the bytes to path atomically; throws FileError (CreateFailed / WriteFailed).
    void commitTo(const QString &path) const;

private:
    QByteArray m_data;
};
