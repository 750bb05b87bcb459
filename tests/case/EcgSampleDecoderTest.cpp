// The 8-bit samples of ECG data come out the same however its bytes arrive: in one piece,
// or in pieces that cut the first-sample time and the samples anywhere.
#include "case/CaseRecord.h"
#include "case/EcgSampleDecoder.h"

#include <QtEndian>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

QByteArray ecgData(int32_t startMs, const std::vector<int32_t> &raw, int strayBytes = 0)
{
    QByteArray data(4 + 4 * qsizetype(raw.size()) + strayBytes, '\x7f');
    qToLittleEndian(startMs, data.data());
    for (size_t k = 0; k < raw.size(); ++k)
        qToLittleEndian(raw[k], data.data() + 4 + 4 * k);
    return data;
}

CaseRecord decodedInPieces(const QByteArray &data, qsizetype piece)
{
    EcgSampleDecoder decoder(data.size());
    for (qsizetype n = std::min(piece, data.size()); ; n = std::min(n + piece, data.size())) {
        decoder.feed(data.constData(), n);
        if (n == data.size())
            break;
    }
    EXPECT_TRUE(decoder.complete());
    CaseRecord c;
    decoder.storeInto(c);
    return c;
}

TEST(EcgSampleDecoder, PiecesGiveTheSamplesOfTheWholeData)
{
    const std::vector<int32_t> raw = {0, 3, 4, -3, 475, 476, -471, -475, 100000, -100000, INT32_MAX, INT32_MIN, 38};
    const QByteArray expected("\x7d\x7d\x7e\x7d\xf9\xfa\x02\x01\xfa\x01\xfa\x01\x86", 13); // 38 scales to 9.99999982
    for (int stray : {0, 3}) {
        const QByteArray data = ecgData(-8, raw, stray);
        for (qsizetype piece : {1, 3, 5, 7, 4096}) {
            const CaseRecord c = decodedInPieces(data, piece);
            EXPECT_EQ(c.ecgSamples, expected) << "pieces of " << piece << ", stray bytes " << stray;
            EXPECT_EQ(c.ecgStartMs, -8);
            EXPECT_EQ(c.ecgEndMs, -8 + 4 * 13);
            EXPECT_TRUE(c.ecgAllocated);
        }
    }
}

// Long runs are converted many samples at a time: every raw value near the scale's range,
// and values far beyond it, give the byte of the exact scaling however the run is cut.
TEST(EcgSampleDecoder, LongRunsGiveTheExactScalingOfEveryValue)
{
    std::vector<int32_t> raw;
    for (int32_t v = -700; v <= 700; ++v)
        raw.push_back(v);
    for (int32_t v : {INT32_MIN, INT32_MIN + 1, -65536, -32769, -32768, 32767, 32768, 65535, 65536, INT32_MAX})
        raw.push_back(v);
    QByteArray expected;
    for (int32_t v : raw) {
        const int64_t scaled = std::clamp<int64_t>(int64_t(v) * 26315789 / 100000000, -124, 125);
        expected.append(char(uint8_t(scaled + 125)));
        ASSERT_EQ(EcgSampleDecoder::stored(v), uint8_t(scaled + 125)) << v;
    }
    const QByteArray data = ecgData(0, raw);
    for (qsizetype piece : {qsizetype(1), qsizetype(4 * 16 + 4), qsizetype(4 * 17 + 1), qsizetype(1000), data.size()})
        EXPECT_EQ(decodedInPieces(data, piece).ecgSamples, expected) << "pieces of " << piece;
}

TEST(EcgSampleDecoder, DataWithoutAFirstSampleTimeHasNoSamples)
{
    for (qsizetype size : {0, 3}) {
        CaseRecord c;
        c.ecgSamples = "old";
        c.ecgStartMs = 5;
        EcgSampleDecoder decoder(size);
        decoder.feed(QByteArray(size, '\1').constData(), size);
        decoder.storeInto(c);
        EXPECT_TRUE(c.ecgSamples.isEmpty());
        EXPECT_EQ(c.ecgStartMs, 0);
        EXPECT_EQ(c.ecgEndMs, 0);
        EXPECT_FALSE(c.ecgAllocated);
    }
    // The first-sample time alone: a case with no samples at that time.
    CaseRecord c = decodedInPieces(ecgData(2000, {}), 1);
    EXPECT_TRUE(c.ecgSamples.isEmpty());
    EXPECT_EQ(c.ecgStartMs, 2000);
    EXPECT_EQ(c.ecgEndMs, 2000);
}

} // namespace
