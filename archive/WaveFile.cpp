#include "archive/WaveFile.h"

#include <QFile>
#include <cstring>

namespace {

uint32_t le32(const char *p)
{
    const auto *u = reinterpret_cast<const uint8_t *>(p);
    return uint32_t(u[0]) | (uint32_t(u[1]) << 8) | (uint32_t(u[2]) << 16) | (uint32_t(u[3]) << 24);
}

uint16_t le16(const char *p)
{
    const auto *u = reinterpret_cast<const uint8_t *>(p);
    return uint16_t(u[0] | (u[1] << 8));
}

// Finds the chunk with the given id among the chunks in [pos, end), each padded to an
// even length. On success pos is the chunk's first data byte and size its declared size.
bool findChunk(const QByteArray &bytes, qsizetype &pos, qsizetype end, const char *id, uint32_t &size)
{
    while (pos + 8 <= end) {
        const char *header = bytes.constData() + pos;
        const uint32_t chunkSize = le32(header + 4);
        if (std::memcmp(header, id, 4) == 0) {
            pos += 8;
            size = chunkSize;
            return true;
        }
        const qint64 next = qint64(pos) + 8 + qint64(chunkSize) + (chunkSize & 1);
        if (next > end)
            return false;
        pos = qsizetype(next);
    }
    return false;
}

} // namespace

bool ParseWave(const QByteArray &bytes, WaveSound &sound)
{
    if (bytes.size() < 12 || std::memcmp(bytes.constData(), "RIFF", 4) != 0
        || std::memcmp(bytes.constData() + 8, "WAVE", 4) != 0)
        return false;
    // The RIFF size may promise more than the file holds; the file's end is the limit.
    const qsizetype end = bytes.size();
    qsizetype pos = 12;

    uint32_t fmtSize = 0;
    if (!findChunk(bytes, pos, end, "fmt ", fmtSize))
        return false;
    const qsizetype wanted = qsizetype(qMin<uint32_t>(fmtSize, 18));
    if (wanted < 16 || pos + wanted > end)
        return false;
    const char *f = bytes.constData() + pos;
    WaveFormat format;
    format.formatTag = le16(f);
    format.channels = le16(f + 2);
    format.samplesPerSec = le32(f + 4);
    format.avgBytesPerSec = le32(f + 8);
    format.blockAlign = le16(f + 12);
    format.bitsPerSample = le16(f + 14);
    format.cbSize = wanted == 18 ? le16(f + 16) : 0;
    const qint64 afterFmt = qint64(pos) + fmtSize + (fmtSize & 1);
    if (afterFmt > end)
        return false;
    pos = qsizetype(afterFmt);

    uint32_t dataSize = 0;
    if (!findChunk(bytes, pos, end, "data", dataSize))
        return false;
    dataSize = qMin(dataSize, MaxWaveDataSize);
    if (qint64(pos) + dataSize > end)
        return false;
    sound.format = format;
    sound.samples = bytes.mid(pos, qsizetype(dataSize));
    return true;
}

bool LoadWave(const QString &path, WaveSound &sound)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return ParseWave(file.readAll(), sound);
}
