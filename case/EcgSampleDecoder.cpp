#include "case/EcgSampleDecoder.h"

#include "case/CaseRecord.h"

#include <QtEndian>
#include <algorithm>
#include <array>

namespace {

// Raw samples from -SampleReach to SampleReach; beyond them the stored byte is clamped.
constexpr int32_t SampleReach = 512;

// In integers: the 64-bit product is exact and the division truncates toward zero as
// the conversion from floating point did. The two differ only where the exact product
// is a whole number of at least 26315789, far beyond the clamp.
uint8_t scaledSample(int32_t raw)
{
    const int64_t scaled = int64_t(raw) * 26315789 / 100000000;
    return uint8_t(std::clamp<int64_t>(scaled, -124, 125) + 125);
}

// The stored byte of each raw value within the reach. The scaling never falls as the raw
// value grows, and it is clamped at both reaches already (512 scales to 134, -512 to
// -134), so a raw value clamped to the reach first gives the same byte.
const std::array<uint8_t, 2 * SampleReach + 1> &storedSamples()
{
    static const auto table = [] {
        std::array<uint8_t, 2 * SampleReach + 1> t{};
        for (int32_t raw = -SampleReach; raw <= SampleReach; ++raw)
            t[size_t(raw + SampleReach)] = scaledSample(raw);
        return t;
    }();
    return table;
}

constexpr qsizetype StartBytes = 4;
constexpr qsizetype SampleBytes = 4;

} // namespace

uint8_t EcgSampleDecoder::stored(int32_t raw)
{
    return storedSamples()[size_t(std::clamp(raw, -SampleReach, SampleReach) + SampleReach)];
}

EcgSampleDecoder::EcgSampleDecoder(qsizetype dataBytes)
    : m_hasStart(dataBytes >= StartBytes)
{
    if (m_hasStart)
        m_samples.resize((dataBytes - StartBytes) / SampleBytes);
}

void EcgSampleDecoder::feed(const char *data, qsizetype available)
{
    if (!m_hasStart || available < StartBytes)
        return;
    if (!m_startRead) {
        m_startMs = qFromLittleEndian<int32_t>(data);
        m_startRead = true;
    }
    const qsizetype until = std::min(m_samples.size(), (available - StartBytes) / SampleBytes);
    auto *out = reinterpret_cast<uint8_t *>(m_samples.data());
    const char *in = data + StartBytes;
    const uint8_t *table = storedSamples().data() + SampleReach;
    for (qsizetype k = m_done; k < until; ++k)
        out[k] = table[std::clamp(qFromLittleEndian<int32_t>(in + SampleBytes * k), -SampleReach, SampleReach)];
    m_done = std::max(m_done, until);
}

int32_t EcgSampleDecoder::endMs() const
{
    return int32_t(uint32_t(int64_t(m_startMs) + 4 * int64_t(m_samples.size())));
}

void EcgSampleDecoder::storeInto(CaseRecord &c)
{
    if (!m_hasStart) {
        c.ecgSamples.clear();
        c.ecgStartMs = 0;
        c.ecgEndMs = 0;
        return;
    }
    c.ecgStartMs = m_startMs;
    c.ecgEndMs = endMs();
    c.ecgSamples = std::move(m_samples);
    c.ecgAllocated = true;
}
