#pragma once

#include <QByteArrayView>
#include <cstdint>

// A 64-bit hash of a run of bytes, to tell whether two copies of a file's contents are the
// same (the widely used XXH64 function with seed 0: the same bytes give the same value on
// every machine and in every run). Several gigabytes a second, so that hashing a whole
// recording costs little beside reading it. Not for guarding against deliberate tampering.
uint64_t ContentHash64(QByteArrayView bytes);
