#include "sound/SoundStream.h"

#include <algorithm>
#include <cstring>

SoundStream::SoundStream(QByteArray samples, uint32_t quarterBytes, char silence)
    : m_samples(std::move(samples)), m_quarter(std::max<uint32_t>(quarterBytes, 1)), m_silence(silence)
{
    m_ring = QByteArray(qsizetype(4 * m_quarter), m_silence);
    m_readCursor = uint32_t(m_samples.size());
}

bool SoundStream::start(int64_t startMs)
{
    m_ring.fill(m_silence);
    m_playPos = 0;
    m_played = 0;
    const uint32_t size = uint32_t(m_samples.size());
    m_readCursor = size;
    if (startMs < 0)
        return false;
    // Past the end the cursor rests on the end: the output hears silence, never a wrap.
    m_readCursor = startMs >= int64_t(size) / 16 + 1 ? size : uint32_t(std::min<int64_t>(startMs * 16, size));
    for (int quarter = 0; quarter < 4; ++quarter)
        refillQuarter(quarter);
    return true;
}

void SoundStream::refillQuarter(int quarter)
{
    char *region = m_ring.data() + qsizetype(quarter) * m_quarter;
    const uint32_t size = uint32_t(m_samples.size());
    const uint32_t left = m_readCursor < size ? size - m_readCursor : 0;
    const uint32_t n = std::min(m_quarter, left);
    std::memset(region, m_silence, m_quarter);
    if (n > 0)
        std::memcpy(region, m_samples.constData() + m_readCursor, n);
    m_readCursor += n;
}

void SoundStream::read(char *out, int64_t count)
{
    const uint32_t ring = ringBytes();
    while (count > 0) {
        const uint32_t quarterEnd = (m_playPos / m_quarter + 1) * m_quarter;
        const uint32_t n = uint32_t(std::min<int64_t>(count, quarterEnd - m_playPos));
        std::memcpy(out, m_ring.constData() + m_playPos, n);
        out += n;
        count -= n;
        m_played += n;
        m_playPos += n;
        if (m_playPos == quarterEnd) {
            refillQuarter(int(m_playPos / m_quarter) - 1);
            if (m_playPos == ring)
                m_playPos = 0;
        }
    }
}
