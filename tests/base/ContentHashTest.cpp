// The content hash is the standard 64-bit function with seed 0: known values of short
// texts, of the lengths on each side of its 32-byte stripes, and of a run of 100 003 bytes.
#include "base/ContentHash.h"
#include "support/BytePattern.h"

#include <QByteArray>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

TEST(ContentHash64, GivesTheFunctionsKnownValues)
{
    const struct
    {
        QByteArray bytes;
        uint64_t hash;
    } cases[] = {
        {QByteArray(), 0xef46db3751d8e999ull},
        {QByteArray("a"), 0xd24ec4f1a98c6e5bull},
        {QByteArray("abc"), 0x44bc2cf5ad770999ull},
        {QByteArray("Nobody inspects the spammish repetition"), 0xfbcea83c8a378bf1ull},
        {bytePattern(32), 0x23c3c17ef790fd97ull},
        {bytePattern(63), 0xf1438f15b9ed16e9ull},
        {bytePattern(100003), 0x148a2fdf3ea2c6e5ull},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ContentHash64(c.bytes), c.hash) << c.bytes.size() << " bytes";
    // The value depends on the bytes only, not on where they lie in memory.
    const QByteArray shifted = "x" + bytePattern(100003);
    EXPECT_EQ(ContentHash64(QByteArrayView(shifted).sliced(1)), 0x148a2fdf3ea2c6e5ull);
}

// Bytes that arrive in pieces give the hash of the whole run, however it is cut.
TEST(ContentHash64, PiecesGiveTheHashOfTheWholeRun)
{
    for (const qsizetype size : {qsizetype(0), qsizetype(5), qsizetype(63), qsizetype(100003)}) {
        const QByteArray bytes = bytePattern(size);
        for (const qsizetype piece : {1, 7, 31, 32, 33, 4096}) {
            ContentHasher hasher;
            for (qsizetype at = 0; at < size; at += piece)
                hasher.add(QByteArrayView(bytes).sliced(at, std::min(piece, size - at)));
            EXPECT_EQ(hasher.value(), ContentHash64(bytes)) << size << " bytes in pieces of " << piece;
        }
    }
}

} // namespace
