#pragma once

#include <QByteArrayView>
#include <array>
#include <cstdint>

// A 64-bit hash of a run of bytes, to tell whether two copies of a file's contents are the
// same (the widely used XXH64 function with seed 0: the same bytes give the same value on
// every machine and in every run). Several gigabytes a second, so that hashing a whole
// recording costs little beside reading it. Not for guarding against deliberate tampering.
uint64_t ContentHash64(QByteArrayView bytes);

// The same hash of bytes that arrive in pieces: adding the pieces of a run in order gives
// ContentHash64 of the whole run, however it is cut.
class ContentHasher
{
public:
    ContentHasher();
    void add(QByteArrayView bytes);
    uint64_t value() const;

private:
    std::array<uint64_t, 4> m_lanes;
    uint64_t m_length = 0;
    std::array<unsigned char, 32> m_pending{}; // the start of a stripe not yet complete
    size_t m_pendingBytes = 0;
};
