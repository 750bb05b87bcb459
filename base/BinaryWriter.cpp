#include "base/BinaryWriter.h"

#include "base/AtomicFileWriter.h"

void BinaryWriter::u16(uint16_t v)
{
    const char b[2] = {char(v & 0xFF), char(v >> 8)};
    m_data.append(b, 2);
}

void BinaryWriter::u32(uint32_t v)
{
    const char b[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
    m_data.append(b, 4);
}

void BinaryWriter::u64(uint64_t v)
{
    u32(uint32_t(v & 0xFFFFFFFFu));
    u32(uint32_t(v >> 32));
}

void BinaryWriter::commitTo(const QString &path) const
{
    AtomicFileWriter::write(path, m_data);
}
