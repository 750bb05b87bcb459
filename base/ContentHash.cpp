#include "base/ContentHash.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr uint64_t Prime1 = 0x9E3779B185EBCA87ull;
constexpr uint64_t Prime2 = 0xC2B2AE3D27D4EB4Full;
constexpr uint64_t Prime3 = 0x165667B19E3779F9ull;
constexpr uint64_t Prime4 = 0x85EBCA77C2B2AE63ull;
constexpr uint64_t Prime5 = 0x27D4EB2F165667C5ull;
constexpr size_t StripeBytes = 32;

uint64_t load64(const unsigned char *p)
{
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::big)
        v = __builtin_bswap64(v);
    return v;
}

uint32_t load32(const unsigned char *p)
{
    uint32_t v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::big)
        v = __builtin_bswap32(v);
    return v;
}

uint64_t round(uint64_t acc, uint64_t input)
{
    acc += input * Prime2;
    acc = std::rotl(acc, 31);
    return acc * Prime1;
}

uint64_t mergeRound(uint64_t acc, uint64_t lane)
{
    acc ^= round(0, lane);
    return acc * Prime1 + Prime4;
}

// Runs the four lanes over the whole stripes from p; returns the end of the last one.
const unsigned char *stripes(std::array<uint64_t, 4> &lanes, const unsigned char *p, size_t count)
{
    uint64_t v1 = lanes[0], v2 = lanes[1], v3 = lanes[2], v4 = lanes[3];
    for (size_t k = 0; k < count; ++k, p += StripeBytes) {
        v1 = round(v1, load64(p));
        v2 = round(v2, load64(p + 8));
        v3 = round(v3, load64(p + 16));
        v4 = round(v4, load64(p + 24));
    }
    lanes = {v1, v2, v3, v4};
    return p;
}

} // namespace

ContentHasher::ContentHasher() : m_lanes{Prime1 + Prime2, Prime2, 0, 0 - Prime1} {}

void ContentHasher::add(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    size_t left = size_t(bytes.size());
    m_length += left;
    if (m_pendingBytes > 0) {
        const size_t taken = std::min(left, StripeBytes - m_pendingBytes);
        std::memcpy(m_pending.data() + m_pendingBytes, p, taken);
        m_pendingBytes += taken;
        p += taken;
        left -= taken;
        if (m_pendingBytes < StripeBytes)
            return;
        stripes(m_lanes, m_pending.data(), 1);
        m_pendingBytes = 0;
    }
    p = stripes(m_lanes, p, left / StripeBytes);
    m_pendingBytes = left % StripeBytes;
    if (m_pendingBytes > 0)
        std::memcpy(m_pending.data(), p, m_pendingBytes);
}

uint64_t ContentHasher::value() const
{
    uint64_t h;
    if (m_length >= StripeBytes) {
        const auto &[v1, v2, v3, v4] = m_lanes;
        h = std::rotl(v1, 1) + std::rotl(v2, 7) + std::rotl(v3, 12) + std::rotl(v4, 18);
        h = mergeRound(h, v1);
        h = mergeRound(h, v2);
        h = mergeRound(h, v3);
        h = mergeRound(h, v4);
    } else {
        h = Prime5;
    }
    h += m_length;
    const unsigned char *p = m_pending.data();
    const unsigned char *const end = p + m_pendingBytes;
    for (; end - p >= 8; p += 8) {
        h ^= round(0, load64(p));
        h = std::rotl(h, 27) * Prime1 + Prime4;
    }
    if (end - p >= 4) {
        h ^= uint64_t(load32(p)) * Prime1;
        h = std::rotl(h, 23) * Prime2 + Prime3;
        p += 4;
    }
    for (; p < end; ++p) {
        h ^= uint64_t(*p) * Prime5;
        h = std::rotl(h, 11) * Prime1;
    }
    h ^= h >> 33;
    h *= Prime2;
    h ^= h >> 29;
    h *= Prime3;
    h ^= h >> 32;
    return h;
}

uint64_t ContentHash64(QByteArrayView bytes)
{
    ContentHasher hasher;
    hasher.add(bytes);
    return hasher.value();
}
