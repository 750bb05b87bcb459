#include "case/CaseViewFixture.h"

#include "device/MifDecoder.h"

#include <QFile>
#include <algorithm>
#include <vector>
#include <gtest/gtest.h>

namespace {

using DeviceFiles::DeviceFolder;
using DeviceFiles::EcgHeader;

class MifCase : public ::testing::Test, public CaseViewFixture
{
};

TEST_F(MifCase, StartTimeComesFromTheCorrectedHeader)
{
    struct Case { EcgHeader header; bool valid; CTime start; int storedYear; };
    const Case cases[] = {
        {{5, 3, 7, 9, 5, 0}, true, CTime(2021, 3, 7, 9, 5, 0), 21},  // years 0..8 mean 2016..2024
        {{8, 1, 1, 0, 0, 0}, true, CTime(2024, 1, 1, 0, 0, 0), 24},
        {{20, 3, 7, 9, 5, 0}, true, CTime(2020, 3, 7, 9, 5, 0), 20},
        {{21, 7, 1, 12, 0, 0}, true, CTime(1625108400), 21},        // UTC+09:00 in summer too
        {{21, 4, 31, 10, 0, 0}, true, CTime(2021, 5, 1, 10, 0, 0), 21}, // rolls into May
        {{21, 13, 7, 9, 5, 0}, false, CTime(), 21},
        {{21, 0, 7, 9, 5, 0}, false, CTime(), 21},
        {{21, 3, 0, 9, 5, 0}, false, CTime(), 21},
        {{21, 3, 32, 9, 5, 0}, false, CTime(), 21},
        {{21, 3, 7, 24, 5, 0}, false, CTime(), 21},
        {{21, 3, 7, 9, 60, 0}, false, CTime(), 21},
        {{21, 3, 7, 9, 5, 60}, false, CTime(), 21},
    };
    for (const auto &c : cases) {
        DeviceFolder f = emptyFolder();
        f.header = c.header;
        const int slot = createCase(f);
        const CaseRecord &record = *view.store.caseAt(slot);
        const std::string row = QString::asprintf("%d-%d-%d %d:%d:%d", c.header.year, c.header.month, c.header.day,
                                                  c.header.hour, c.header.minute, c.header.second).toStdString();
        EXPECT_EQ(record.startTimeValid, c.valid) << row;
        EXPECT_EQ(record.startTime, c.start) << row;
        EXPECT_EQ(view.store.at(slot).fileSet->headerYear, c.storedYear) << row;
    }
}

TEST_F(MifCase, NewCaseTakesTheFolderAndDropsTheScratchBuffers)
{
    DeviceFolder f = emptyFolder();
    f.ecgRaw = {1, 2, 3};
    f.heartRate = {{1000, 80}};
    f.trend.resize(1);
    const int slot = createCase(f);

    const CaseRecord &record = *view.store.caseAt(slot);
    EXPECT_EQ(record.serialNumber, "SN-0042");
    EXPECT_EQ(record.buildState, CaseFilesLoaded);
    EXPECT_EQ(view.store.at(slot).sourcePath, "") << "no archive holds the case yet";

    const CC8Class &files = *view.store.at(slot).fileSet;
    EXPECT_EQ(files.ecgSize(), 16u);
    EXPECT_EQ(files.hrSize(), 8u);
    EXPECT_EQ(files.GetTrendBlockCount(), 1);
    EXPECT_EQ(files.ctSize(), 16u);

    EXPECT_TRUE(view.store.scratchFileSet.ctData.isNull());
    EXPECT_TRUE(view.store.scratchFileSet.ecgData.isNull());
    EXPECT_TRUE(view.store.scratchFileSet.hrData.isNull());
    EXPECT_TRUE(view.store.scratchFileSet.trendData.isNull());
    // Only the buffers were dropped; the header stays for the archive name.
    EXPECT_EQ(view.store.scratchFileSet.headerDay, 7);
}

TEST_F(MifCase, SeriesAreDecodedFromTheRecords)
{
    DeviceFolder f = emptyFolder();
    f.heartRate = {{1000, 72}, {2000, 75}, {3000, -1}};
    f.temperature = {{500, 36}, {1500, 37}};
    f.hasTemp = true;
    const int slot = decodeCase(f);
    const CaseRecord &record = *view.store.caseAt(slot);
    EXPECT_TRUE(record.hrAllocated);
    EXPECT_EQ(record.hrCount, 3);
    EXPECT_EQ(record.hrTimes, std::vector<int32_t>({1000, 2000, 3000}));
    EXPECT_EQ(record.hrValues, std::vector<int32_t>({72, 75, -1}));
    EXPECT_TRUE(record.tempAllocated);
    EXPECT_EQ(record.tempCount, 2);
    EXPECT_EQ(record.tempTimes, std::vector<int32_t>({500, 1500}));
    EXPECT_EQ(record.tempValues, std::vector<int32_t>({36, 37}));
}

TEST_F(MifCase, TemperatureOnlyWhenTheCaseHasIt)
{
    DeviceFolder f = emptyFolder();
    f.temperature = {{500, 36}};
    f.hasTemp = true;
    const int slot = createCase(f);
    view.store.at(slot).tempLoaded = 0;
    ::MifCase::DecodeCaseData(view.store, slot, view.texts(), view.state.deviceModel, view.state.modelIndex);
    EXPECT_FALSE(view.store.caseAt(slot)->tempAllocated);
    EXPECT_EQ(view.store.caseAt(slot)->tempCount, 0);
}

TEST_F(MifCase, EmptyFilesGiveOnlyPowerOn)
{
    const int slot = decodeCase(emptyFolder());
    EXPECT_EQ(events(slot), QList<Event>({{0, "Power on."}}));
    const CaseRecord &record = *view.store.caseAt(slot);
    EXPECT_EQ(record.hrCount, 0);
    EXPECT_TRUE(record.ecgSamples.isEmpty());
    EXPECT_EQ(record.ecgStartMs, 0);
    EXPECT_EQ(record.ecgEndMs, 0);
    EXPECT_EQ(view.store.at(slot).shockCount, 0);
}

TEST_F(MifCase, EcgSamplesAreScaledTruncatedAndClamped)
{
    struct Case { int32_t raw; uint8_t stored; };
    const Case cases[] = {
        {1000, 250}, {-3, 125}, {-1000, 1}, {0, 125}, {3, 125}, {4, 126},
        {475, 249}, {476, 250}, {-471, 2}, {-475, 1}, {INT32_MAX, 250}, {INT32_MIN, 1},
    };
    DeviceFolder f = emptyFolder();
    f.ecgFirstSampleMs = 480;
    for (const auto &c : cases)
        f.ecgRaw.push_back(c.raw);
    const int slot = decodeCase(f);

    const CaseRecord &record = *view.store.caseAt(slot);
    ASSERT_EQ(record.ecgSamples.size(), qsizetype(std::size(cases)));
    for (size_t k = 0; k < std::size(cases); ++k) {
        EXPECT_EQ(uint8_t(record.ecgSamples[qsizetype(k)]), cases[k].stored) << cases[k].raw;
        EXPECT_EQ(MifDecoder::StoredEcgSample(cases[k].raw), cases[k].stored) << cases[k].raw;
    }
    EXPECT_TRUE(record.ecgAllocated);
    EXPECT_EQ(record.ecgStartMs, 480);
    EXPECT_EQ(record.ecgEndMs, 480 + 4 * int(std::size(cases)));
}

// The decoding scales in integers and gives the byte that scaling in floating point
// (v * 0.26315789 truncated, clamped, plus 125) gives: for every value up to far beyond
// the clamp, for the whole range in steps, and where the two could differ at all, at
// whole products (multiples of 10^8) and next to them.
TEST(StoredEcgSample, IntegerScalingGivesTheFloatingPointBytes)
{
    const auto floating = [](int32_t raw) { return uint8_t(std::clamp(int(raw * 0.26315789), -124, 125) + 125); };
    std::vector<int64_t> values;
    for (int64_t raw = -(int64_t(1) << 22); raw <= (int64_t(1) << 22); ++raw)
        values.push_back(raw);
    for (int64_t raw = INT32_MIN; raw <= INT32_MAX; raw += 997)
        values.push_back(raw);
    for (int64_t whole = -2100000000; whole <= 2100000000; whole += 100000000)
        for (int64_t raw : {whole - 1, whole, whole + 1})
            values.push_back(raw);
    values.push_back(INT32_MIN);
    values.push_back(INT32_MAX);

    int64_t differing = 0;
    int64_t firstDiffering = 0;
    for (int64_t raw : values) {
        if (MifDecoder::StoredEcgSample(int32_t(raw)) != floating(int32_t(raw)) && differing++ == 0)
            firstDiffering = raw;
    }
    EXPECT_EQ(differing, 0) << "first at " << firstDiffering;
}

TEST_F(MifCase, EcgShorterThanItsFirstSampleTimeGivesNoSamples)
{
    for (int sampleBytes : {0, 3}) {
        DeviceFolder f = emptyFolder();
        f.ecgFirstSampleMs = 480;
        const int slot = createCase(f);
        CC8Class &files = *view.store.at(slot).fileSet;
        files.ecgData.truncate(sampleBytes);
        ::MifCase::DecodeCaseData(view.store, slot, view.texts(), view.state.deviceModel, view.state.modelIndex);
        const CaseRecord &record = *view.store.caseAt(slot);
        EXPECT_TRUE(record.ecgSamples.isEmpty()) << sampleBytes;
        EXPECT_EQ(record.ecgStartMs, 0) << sampleBytes;
        EXPECT_EQ(record.ecgEndMs, 0) << sampleBytes;
    }
    // A first-sample time with a partial sample after it: no samples, start = end.
    DeviceFolder f = emptyFolder();
    f.ecgFirstSampleMs = 480;
    const int slot = createCase(f);
    view.store.at(slot).fileSet->ecgData.append("\x01\x02", 2);
    ::MifCase::DecodeCaseData(view.store, slot, view.texts(), view.state.deviceModel, view.state.modelIndex);
    EXPECT_EQ(view.store.caseAt(slot)->ecgStartMs, 480);
    EXPECT_EQ(view.store.caseAt(slot)->ecgEndMs, 480);
    EXPECT_TRUE(view.store.caseAt(slot)->ecgSamples.isEmpty());
}

TEST_F(MifCase, AnnotationsGoBetweenTheDeviceEventsAndTheEcg)
{
    DeviceFiles::TrendBlock block;
    block.powerOffMs = 9000;
    DeviceFolder f = folderWith(block);
    f.ecgRaw = {100, 200};
    const int slot = createCase(f);

    bool ecgDecodedBefore = true;
    ::MifCase::DecodeCaseData(view.store, slot, view.texts(), view.state.deviceModel, view.state.modelIndex, [&] {
        ecgDecodedBefore = !view.store.caseAt(slot)->ecgSamples.isEmpty();
        view.store.AddEvent(slot, 5000, QStringLiteral("A: note"), QStringLiteral("body"));
    });
    EXPECT_FALSE(ecgDecodedBefore);
    EXPECT_EQ(events(slot), QList<Event>({{0, "Power on."}, {9000, "Power off."}, {5000, "A: note"}}));
    EXPECT_EQ(view.store.caseAt(slot)->ecgSamples.size(), 2);
}

} // namespace
