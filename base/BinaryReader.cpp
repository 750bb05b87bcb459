#include "base/BinaryReader.h"

#include <QFile>
#include <QFileInfo>

BinaryReader::BinaryReader(QByteArray data, QString path)
    : m_data(std::move(data)), m_path(std::move(path))
{
}

QByteArray BinaryReader::readWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const bool exists = QFileInfo::exists(path);
        throw FileError(path, exists ? FileError::Kind::OpenFailed : FileError::Kind::NotFound);
    }
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(path, FileError::Kind::OpenFailed, file.errorString());
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
