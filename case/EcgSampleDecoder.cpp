#include "case/EcgSampleDecoder.h"

#include "base/LargeBuffer.h"
#include "case/CaseRecord.h"

#include <QtEndian>
#include <algorithm>
#include <array>

#if defined(__SSE2__) && Q_BYTE_ORDER == Q_LITTLE_ENDIAN
#include <emmintrin.h>
#define RAVELIN_ECG_SSE2 1
#endif

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

#ifdef RAVELIN_ECG_SSE2
// Within the reach, trunc(v * 26315789 / 10^8) equals (|v| * 17246) >> 16 with v's sign:
// 17246 / 2^16 lies a little below the factor, by less than the distance of any of the
// 1025 products from the next whole number above (the tests compare every raw value).
constexpr short ScaleHigh16 = 17246;

// Converts count raw samples, a multiple of 16, sixteen at a time in 16-bit lanes; the
// same bytes as the table.
void convertSixteens(const char *in, uint8_t *out, qsizetype count)
{
    const __m128i reach = _mm_set1_epi16(SampleReach);
    const __m128i negativeReach = _mm_set1_epi16(-SampleReach);
    const __m128i scale = _mm_set1_epi16(ScaleHigh16);
    const __m128i low = _mm_set1_epi16(-124);
    const __m128i high = _mm_set1_epi16(125);
    const __m128i zeroLine = _mm_set1_epi16(125);
    const auto convertEight = [&](__m128i first, __m128i second) {
        // Saturating to 16 bits then clamping to the reach is clamping to the reach.
        __m128i v = _mm_packs_epi32(first, second);
        v = _mm_max_epi16(_mm_min_epi16(v, reach), negativeReach);
        const __m128i sign = _mm_srai_epi16(v, 15);
        const __m128i magnitude = _mm_sub_epi16(_mm_xor_si128(v, sign), sign);
        const __m128i scaled = _mm_mulhi_epu16(magnitude, scale);
        const __m128i signedScaled = _mm_sub_epi16(_mm_xor_si128(scaled, sign), sign);
        return _mm_add_epi16(_mm_max_epi16(_mm_min_epi16(signedScaled, high), low), zeroLine);
    };
    for (qsizetype k = 0; k < count; k += 16) {
        const auto *p = reinterpret_cast<const __m128i *>(in + SampleBytes * k);
        const __m128i lowHalf = convertEight(_mm_loadu_si128(p), _mm_loadu_si128(p + 1));
        const __m128i highHalf = convertEight(_mm_loadu_si128(p + 2), _mm_loadu_si128(p + 3));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + k), _mm_packus_epi16(lowHalf, highHalf));
    }
}
#endif

} // namespace

uint8_t EcgSampleDecoder::stored(int32_t raw)
{
    return storedSamples()[size_t(std::clamp(raw, -SampleReach, SampleReach) + SampleReach)];
}

EcgSampleDecoder::EcgSampleDecoder(qsizetype dataBytes)
    : m_hasStart(dataBytes >= StartBytes)
{
    if (m_hasStart)
        m_samples = LargeBuffer::uninitialized((dataBytes - StartBytes) / SampleBytes);
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
    qsizetype k = m_done;
#ifdef RAVELIN_ECG_SSE2
    const qsizetype whole = until > k ? (until - k) / 16 * 16 : 0;
    convertSixteens(in + SampleBytes * k, out + k, whole);
    k += whole;
#endif
    const uint8_t *table = storedSamples().data() + SampleReach;
    for (; k < until; ++k)
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
