// The simulated device folder, read back byte by byte as the device's reader would.
#include "base/BinaryReader.h"
#include "support/TempDir.h"
#include "cpr/CprQuality.h"
#include "tools/Simulator.h"

#include <QDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

namespace {

using DeviceFiles::Model;

struct Record
{
    int32_t timeMs;
    int32_t value;
};

struct Block
{
    std::vector<Record> events; // code in value, up to the first empty entry
    int trailingEvents = 0;     // non-empty entries after the first empty one
    std::vector<DeviceFiles::PadsEntry> pads;
    uint32_t powerOffMs = 0;
    int32_t mode = 0;
    int32_t shockMs = 0;
    int32_t impedanceOhm = 0;
    uint32_t energyTenthsJ = 0;
};

// The device folder written by the simulator, read back with the file layer.
class Rescue
{
public:
    explicit Rescue(const SimulationOptions &options) : m_options(options)
    {
        m_folder = m_dir.file(QStringLiteral("card"));
        EXPECT_TRUE(simulateRescue(options).write(m_folder));
    }

    const SimulationOptions &options() const { return m_options; }
    int32_t lengthMs() const { return int32_t(m_options.minutes * 60000); }
    QString path(const QString &name) const { return m_folder + QLatin1Char('/') + name; }
    QString mif(const QString &kind) const { return path(DeviceFiles::mifFileName(m_options.model, kind)); }
    QStringList files() const { return QDir(m_folder).entryList(QDir::Files, QDir::Name); }
    QByteArray bytes(const QString &file) const { return BinaryReader::readWholeFile(file); }

    std::vector<Record> records(const QString &file) const
    {
        BinaryReader r = BinaryReader::fromFile(file);
        EXPECT_EQ(r.size() % 8, 0) << file.toStdString();
        std::vector<Record> out;
        while (r.remaining() >= 8) {
            const int32_t t = r.i32();
            out.push_back({t, r.i32()});
        }
        return out;
    }

    std::vector<Block> trend() const
    {
        BinaryReader r = BinaryReader::fromFile(mif(QStringLiteral("Trend")));
        EXPECT_EQ(r.size() % DeviceFiles::TrendBlockSize, 0);
        std::vector<Block> blocks;
        while (r.remaining() >= DeviceFiles::TrendBlockSize) {
            const qsizetype base = r.position();
            Block b;
            for (int e = 0; e < 100; ++e) {
                const int32_t code = r.i32();
                const int32_t t = r.i32();
                if (code == 0)
                    continue;
                if (b.events.size() == size_t(e))
                    b.events.push_back({t, code});
                else
                    ++b.trailingEvents;
            }
            for (int p = 0; p < 50; ++p) {
                DeviceFiles::PadsEntry pads;
                pads.offMs = r.u32();
                pads.onMs = r.u32();
                pads.type = r.u32();
                if (pads.offMs || pads.onMs)
                    b.pads.push_back(pads);
            }
            b.powerOffMs = r.u32();
            b.mode = r.i32();
            r.seek(base + 1412);
            b.shockMs = r.i32();
            r.seek(base + 1424);
            b.impedanceOhm = r.i32();
            r.seek(base + 2664);
            b.energyTenthsJ = r.u32();
            blocks.push_back(b);
        }
        return blocks;
    }

    std::vector<Record> allEvents() const
    {
        std::vector<Record> all;
        for (const Block &b : trend())
            all.insert(all.end(), b.events.begin(), b.events.end());
        return all;
    }

    // CPR periods as the device marks them: from a code 12 while none is open to code 14.
    std::vector<std::pair<int32_t, int32_t>> cprPeriods() const
    {
        std::vector<std::pair<int32_t, int32_t>> periods;
        bool open = false;
        for (const Record &e : allEvents()) {
            if (e.value == 12 && !open) {
                periods.push_back({e.timeMs, lengthMs()});
                open = true;
            } else if (e.value == 14 && open) {
                periods.back().second = e.timeMs;
                open = false;
            }
        }
        return periods;
    }

    // Stored ECG samples (1..250) and the case time of the first one.
    std::vector<int> storedEcg(int32_t *firstMs = nullptr) const
    {
        BinaryReader r = BinaryReader::fromFile(mif(QStringLiteral("ECG")));
        r.skip(8);
        const int32_t first = r.i32();
        if (firstMs)
            *firstMs = first;
        std::vector<int> out;
        out.reserve(size_t(r.remaining() / 4));
        while (r.remaining() >= 4) {
            const int x = std::clamp(int(r.i32() * 0.26315789), -124, 125);
            out.push_back(x + 125);
        }
        return out;
    }

private:
    SimulationOptions m_options;
    TempDir m_dir;
    QString m_folder;
};

// Sound only where a test listens to it: it is most of the bytes.
SimulationOptions optionsFor(uint32_t seed, double minutes = 6.0, bool audio = false)
{
    SimulationOptions o;
    o.seed = seed;
    o.minutes = minutes;
    o.audio = audio;
    return o;
}

TEST(Simulator, SameSeedGivesSameBytesAndAnotherSeedAnotherRescue)
{
    const Rescue a(optionsFor(7, 3.0, true)), b(optionsFor(7, 3.0, true)), c(optionsFor(8, 3.0, true));
    ASSERT_EQ(a.files(), b.files());
    for (const QString &name : a.files())
        EXPECT_EQ(a.bytes(a.path(name)), b.bytes(b.path(name))) << name.toStdString();
    for (const QString &kind : {QStringLiteral("ECG"), QStringLiteral("Trend"), QStringLiteral("HR")})
        EXPECT_NE(a.bytes(a.mif(kind)), c.bytes(c.mif(kind))) << kind.toStdString();
    EXPECT_NE(a.bytes(a.path(QStringLiteral("CPR Feedback.bin"))), c.bytes(c.path(QStringLiteral("CPR Feedback.bin"))));
    EXPECT_NE(a.bytes(a.path(QStringLiteral("Audio Record.bin"))), c.bytes(c.path(QStringLiteral("Audio Record.bin"))));
}

TEST(Simulator, LeavingOutSoundOrTemperatureKeepsTheRestOfTheRescue)
{
    SimulationOptions quiet = optionsFor(3, 3.0);
    quiet.temperature = false;
    const Rescue full(optionsFor(3, 3.0, true)), bare(quiet);
    for (const QString &kind : {QStringLiteral("CT"), QStringLiteral("ECG"), QStringLiteral("HR"), QStringLiteral("Trend")})
        EXPECT_EQ(full.bytes(full.mif(kind)), bare.bytes(bare.mif(kind))) << kind.toStdString();
    EXPECT_EQ(full.bytes(full.path(QStringLiteral("CPR Feedback.bin"))), bare.bytes(bare.path(QStringLiteral("CPR Feedback.bin"))));
}

TEST(Simulator, FolderHoldsTheFilesOfTheModel)
{
    struct Case
    {
        Model model;
        bool temperature, audio;
        QStringList files;
    };
    const std::vector<Case> cases = {
        {Model::Q21, true, true,
         {"Audio Record.bin", "CPR Feedback.bin", "Q21 CT Data.MIF", "Q21 ECG Data.MIF", "Q21 HR Data.MIF",
          "Q21 Temp Data.MIF", "Q21 Trend Data.MIF"}},
        {Model::Q25, false, true,
         {"Audio Record.bin", "CPR Feedback.bin", "Q25 CT Data.MIF", "Q25 ECG Data.MIF", "Q25 HR Data.MIF",
          "Q25 Trend Data.MIF"}},
        {Model::Q26, true, false,
         {"CPR Feedback.bin", "Q26 CT Data.MIF", "Q26 ECG Data.MIF", "Q26 HR Data.MIF", "Q26 Temp Data.MIF",
          "Q26 Trend Data.MIF"}},
    };
    for (const Case &c : cases) {
        SimulationOptions o = optionsFor(1, 2.0);
        o.model = c.model;
        o.temperature = c.temperature;
        o.audio = c.audio;
        const Rescue rescue(o);
        EXPECT_EQ(rescue.files(), c.files) << DeviceFiles::modelCode(c.model).toStdString();
    }
}

TEST(Simulator, EcgHeaderHoldsThePowerOnTime)
{
    SimulationOptions o = optionsFor(1, 1.0);
    o.start = QDateTime(QDate(2023, 12, 31), QTime(23, 59, 58));
    const Rescue rescue(o);
    const QByteArray header = rescue.bytes(rescue.mif(QStringLiteral("ECG"))).left(6);
    EXPECT_EQ(header, QByteArray("\x17\x0C\x1F\x17\x3B\x3A", 6));
}

// The trend file of several rescues: whole blocks, power-off in the last one only, the
// events in time order inside the rescue, and the story a reviewer expects.
TEST(Simulator, TrendBlocksTellAPlausibleRescue)
{
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE(seed);
        const Rescue rescue(optionsFor(seed, 7.0));
        const std::vector<Block> blocks = rescue.trend();
        ASSERT_FALSE(blocks.empty());
        for (size_t i = 0; i < blocks.size(); ++i) {
            EXPECT_EQ(blocks[i].trailingEvents, 0);
            EXPECT_EQ(blocks[i].mode, 1);
            EXPECT_LE(blocks[i].events.size(), 100u);
            EXPECT_EQ(blocks[i].powerOffMs, i + 1 == blocks.size() ? uint32_t(rescue.lengthMs()) : 0u);
        }

        const std::vector<Record> events = rescue.allEvents();
        ASSERT_FALSE(events.empty());
        EXPECT_TRUE(std::is_sorted(events.begin(), events.end(),
                                   [](const Record &a, const Record &b) { return a.timeMs < b.timeMs; }));
        EXPECT_GT(events.front().timeMs, 0);
        EXPECT_LT(events.back().timeMs, rescue.lengthMs());
        EXPECT_EQ(events.front().value, 28);

        std::map<int32_t, int> count;
        for (const Record &e : events)
            ++count[e.value];
        for (int32_t code : {1, 2, 3, 4, 5, 6, 7, 12, 13, 14})
            EXPECT_GT(count[code], 0) << "code " << code;
        for (const auto &[code, n] : count)
            EXPECT_TRUE((code >= 1 && code <= 14) || (code >= 16 && code <= 25) || (code >= 27 && code <= 29)) << code;

        // Every analysis result is either followed at once by "safe to touch" (no shock)
        // or by charging and a shock in its block.
        int shocksAdvised = 0;
        for (const Block &b : blocks) {
            for (size_t e = 0; e < b.events.size(); ++e) {
                if (b.events[e].value != 7)
                    continue;
                const bool noShock = e + 1 < b.events.size() && b.events[e + 1].value == 11;
                if (!noShock && e + 1 < b.events.size()) {
                    ++shocksAdvised;
                    EXPECT_EQ(b.events[e + 1].value, 8);
                }
            }
            if (b.shockMs != 0) {
                EXPECT_GT(b.shockMs, 0);
                EXPECT_LT(b.shockMs, rescue.lengthMs());
                EXPECT_GE(b.energyTenthsJ, 1400u);
                EXPECT_LE(b.energyTenthsJ, 2100u);
                const bool announced = std::any_of(b.events.begin(), b.events.end(), [&](const Record &e) {
                    return (e.value == 9 || e.value == 27) && e.timeMs < b.shockMs && b.shockMs - e.timeMs <= 7000;
                });
                EXPECT_TRUE(announced);
            }
            EXPECT_GE(b.impedanceOhm, 40);
            EXPECT_LE(b.impedanceOhm, 130);
        }
        const auto shocks = std::count_if(blocks.begin(), blocks.end(), [](const Block &b) { return b.shockMs != 0; });
        EXPECT_EQ(shocks, shocksAdvised);

        // The pads go on once with no "off" time; any later entry is an off-and-on inside a
        // CPR period, and a pads prompt after the first contact is given while they are off.
        ASSERT_FALSE(blocks.front().pads.empty());
        EXPECT_EQ(blocks.front().pads.front().offMs, 0u);
        EXPECT_EQ(blocks.front().pads.front().type, 1u);
        const int32_t firstContact = int32_t(blocks.front().pads.front().onMs);
        const auto periods = rescue.cprPeriods();
        std::vector<DeviceFiles::PadsEntry> offAndOn;
        for (const Block &b : blocks) {
            for (const auto &p : b.pads) {
                if (p.offMs == 0)
                    continue;
                offAndOn.push_back(p);
                EXPECT_LT(p.offMs, p.onMs);
                EXPECT_TRUE(std::any_of(periods.begin(), periods.end(), [&](const auto &period) {
                    return int32_t(p.offMs) > period.first && int32_t(p.onMs) < period.second;
                }));
            }
        }
        // A prompt in a period the power-off cut short has no pads entry to match.
        int32_t lastStop = 0;
        for (const Record &e : events)
            if (e.value == 14)
                lastStop = e.timeMs;
        for (const Record &e : events) {
            if ((e.value == 5 || e.value == 29) && e.timeMs > firstContact && e.timeMs < lastStop) {
                EXPECT_TRUE(std::any_of(offAndOn.begin(), offAndOn.end(), [&](const auto &p) {
                    return e.timeMs > int32_t(p.offMs) && e.timeMs < int32_t(p.onMs);
                })) << "pads prompt at " << e.timeMs;
            }
        }
    }
}

TEST(Simulator, StoredEcgUsesTheGridWithoutSittingAtTheClamps)
{
    for (uint32_t seed : {1u, 6u, 8u}) {
        SCOPED_TRACE(seed);
        const Rescue rescue(optionsFor(seed, 6.0));
        int32_t firstMs = 0;
        const std::vector<int> ecg = rescue.storedEcg(&firstMs);
        ASSERT_GT(ecg.size(), 250u * 60);
        EXPECT_EQ(uint32_t(firstMs), rescue.trend().front().pads.front().onMs);
        EXPECT_LE(firstMs + int64_t(ecg.size()) * 4, rescue.lengthMs());

        const auto [lo, hi] = std::minmax_element(ecg.begin(), ecg.end());
        EXPECT_GE(*hi - *lo, 110);
        const auto clamped = std::count_if(ecg.begin(), ecg.end(), [](int v) { return v == 1 || v == 250; });
        EXPECT_LT(double(clamped) / double(ecg.size()), 0.001);
        // Most of the trace is within ±1 mV of the zero line.
        const auto near = std::count_if(ecg.begin(), ecg.end(), [](int v) { return std::abs(v - 125) <= 50; });
        EXPECT_GT(double(near) / double(ecg.size()), 0.85);
    }
}

TEST(Simulator, HeartRateAndTemperatureRecordsArePlausible)
{
    const Rescue rescue(optionsFor(1, 6.0)); // circulation returns after the first shock
    const auto hr = rescue.records(rescue.mif(QStringLiteral("HR")));
    ASSERT_GT(hr.size(), 200u);
    for (size_t i = 1; i < hr.size(); ++i)
        EXPECT_EQ(hr[i].timeMs - hr[i - 1].timeMs, 1000);
    EXPECT_LT(hr.back().timeMs, rescue.lengthMs());
    for (const Record &r : hr)
        EXPECT_TRUE(r.value == 0 || (r.value >= 40 && r.value <= 150)) << r.value;
    EXPECT_TRUE(std::any_of(hr.begin(), hr.end(), [](const Record &r) { return r.value > 0; }));

    const auto temp = rescue.records(rescue.mif(QStringLiteral("Temp")));
    ASSERT_GE(temp.size(), 10u);
    for (size_t i = 1; i < temp.size(); ++i)
        EXPECT_EQ(temp[i].timeMs - temp[i - 1].timeMs, 30000);
    for (const Record &r : temp) {
        EXPECT_GE(r.value, 36);
        EXPECT_LE(r.value, 37);
    }
}

// Compressions come during the CPR periods and, when the rescuers press on while the
// device charges, between "Charging" and the shock; their rate stays within what a rescuer
// drifts to and their depth on the sensor's scale.
TEST(Simulator, CprFeedbackFollowsTheCprPeriodsAndTheCharging)
{
    for (uint32_t seed : {1u, 2u, 5u}) {
        SCOPED_TRACE(seed);
        const Rescue rescue(optionsFor(seed, 6.0));
        const auto feedback = rescue.records(rescue.path(QStringLiteral("CPR Feedback.bin")));
        std::vector<std::pair<int32_t, int32_t>> pressing = rescue.cprPeriods();
        ASSERT_FALSE(pressing.empty());
        for (const Block &b : rescue.trend()) {
            for (const Record &e : b.events)
                if (e.value == 8 && b.shockMs != 0)
                    pressing.push_back({e.timeMs, b.shockMs});
        }
        // A rescuer may press on from "Stop CPR" into the first seconds of the analysis.
        const std::vector<Record> events = rescue.allEvents();
        for (size_t i = 0; i + 1 < events.size(); ++i)
            if (events[i].value == 14 && events[i + 1].value == 6)
                pressing.push_back({events[i].timeMs, events[i + 1].timeMs + 2500});
        ASSERT_GT(feedback.size(), 100u);

        double depthSum = 0;
        int intervals = 0;
        for (size_t i = 0; i < feedback.size(); ++i) {
            const Record &r = feedback[i];
            EXPECT_TRUE(std::any_of(pressing.begin(), pressing.end(),
                                    [&](const auto &p) { return r.timeMs > p.first && r.timeMs < p.second; }))
                << r.timeMs;
            EXPECT_GE(r.value, 35);
            EXPECT_LE(r.value, 65);
            depthSum += r.value;
            if (i == 0)
                continue;
            const int32_t gap = r.timeMs - feedback[i - 1].timeMs;
            ASSERT_GT(gap, 0);
            if (gap < 1000) { // the same run of compressions
                ++intervals;
                const double perMinute = 60000.0 / gap;
                EXPECT_GE(perMinute, 85.0);
                EXPECT_LE(perMinute, 135.0);
            }
        }
        EXPECT_GT(intervals, 100);
        const double meanDepth = depthSum / double(feedback.size());
        EXPECT_GE(meanDepth, 42.0);
        EXPECT_LE(meanDepth, 60.0);
    }
}

// What the CPR quality review of a simulated rescue reads: its compressions, the shocks
// (delivered 520 ms after the block's shock time) and the analyses.
CprQualityResult cprQualityOf(const Rescue &rescue)
{
    CprQualityInput input;
    for (const Record &r : rescue.records(rescue.path(QStringLiteral("CPR Feedback.bin"))))
        input.compressions.push_back({r.timeMs, r.value});
    for (const Block &b : rescue.trend()) {
        if (b.shockMs != 0)
            input.shocksMs.push_back(b.shockMs + 520);
        for (const Record &e : b.events)
            if (e.value == 6 || e.value == 31)
                input.analysesMs.push_back(e.timeMs);
    }
    return measureCprQuality(input, CprQualitySettings());
}

// The rescuers are human: the rate wanders out of the band and back, the depth fades over a
// two-minute period and is sometimes too shallow, the device's analyses and shocks stop the
// compressions for the times a review looks at.
TEST(Simulator, CprShowsWhatAQualityReviewLooksFor)
{
    std::vector<double> minuteRates, preShock, postShock;
    double firstMinuteDepth = 0, lastMinuteDepth = 0;
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        SCOPED_TRACE(seed);
        const Rescue rescue(optionsFor(seed, 10.0));
        const CprQualityResult r = cprQualityOf(rescue);
        ASSERT_GT(r.compressionCount, 200);
        EXPECT_GT(*r.depthShallow, 0.0);
        EXPECT_TRUE(std::any_of(r.pauses.begin(), r.pauses.end(),
                                [](const CprPause &p) { return p.kind == CprPauseKind::Analysis; }));
        for (const CprMinute &m : r.perMinute)
            if (m.meanRatePerMin && m.compressions >= 20)
                minuteRates.push_back(*m.meanRatePerMin);
        for (const CprShockPauses &s : r.shocks) {
            if (s.preShockPauseMs)
                preShock.push_back(double(*s.preShockPauseMs));
            if (s.postShockPauseMs)
                postShock.push_back(double(*s.postShockPauseMs));
        }
        // Depth of the first and the last 30 compressions of every CPR period.
        const auto feedback = rescue.records(rescue.path(QStringLiteral("CPR Feedback.bin")));
        for (const auto &[start, end] : rescue.cprPeriods()) {
            std::vector<int32_t> depths;
            for (const Record &c : feedback)
                if (c.timeMs > start && c.timeMs < end)
                    depths.push_back(c.value);
            if (depths.size() < 150)
                continue; // cut short by the power-off
            for (size_t i = 0; i < 30; ++i) {
                firstMinuteDepth += depths[i];
                lastMinuteDepth += depths[depths.size() - 1 - i];
            }
        }
    }
    ASSERT_FALSE(minuteRates.empty());
    const auto [slowest, fastest] = std::minmax_element(minuteRates.begin(), minuteRates.end());
    EXPECT_LT(*slowest, 100.0);
    EXPECT_GE(*slowest, 88.0);
    EXPECT_GT(*fastest, 120.0);
    EXPECT_LE(*fastest, 132.0);
    EXPECT_GT(firstMinuteDepth, lastMinuteDepth * 1.08) << "rescuers tire within a period";

    ASSERT_GE(preShock.size(), 4u);
    ASSERT_GE(postShock.size(), 4u);
    for (double p : preShock) {
        EXPECT_GE(p, 5000);
        EXPECT_LE(p, 25000);
    }
    EXPECT_TRUE(std::any_of(preShock.begin(), preShock.end(), [](double p) { return p <= 10000; }));
    EXPECT_TRUE(std::any_of(preShock.begin(), preShock.end(), [](double p) { return p > 10000; }));
    for (double p : postShock) {
        EXPECT_GE(p, 2000);
        EXPECT_LE(p, 10000);
    }
}

// The demo case of the run script: some targets met, some not.
TEST(Simulator, DemoCaseShowsAMixedPicture)
{
    SimulationOptions o = optionsFor(7, 8.0);
    o.model = Model::Q25;
    const CprQualityResult r = cprQualityOf(Rescue(o));
    const CprQualitySettings targets;
    EXPECT_LT(*r.ccf, targets.ccfTarget);
    EXPECT_GE(*r.meanRatePerMin, targets.rateMinPerMin);
    EXPECT_LE(*r.meanRatePerMin, targets.rateMaxPerMin);
    EXPECT_GT(*r.rateInTarget, 0.4);
    EXPECT_LT(*r.rateInTarget, 0.9);
    EXPECT_GT(*r.depthInTarget, 0.4);
    EXPECT_LT(*r.depthInTarget, 0.9);
}

TEST(Simulator, AudioStartsAfterPowerOnWithTonesAtPromptsAndBeeps)
{
    const Rescue rescue(optionsFor(1, 4.0, true));
    BinaryReader r = BinaryReader::fromFile(rescue.path(QStringLiteral("Audio Record.bin")));
    const int32_t startMs = r.i32();
    EXPECT_GE(startMs, 1000);
    EXPECT_LE(startMs, 5000);
    const QByteArray pcm = r.bytes(uint64_t(r.remaining()));
    EXPECT_EQ(pcm.size(), qsizetype(rescue.lengthMs() - startMs) * 16);

    // Loudest deviation from silence in the 100 ms after a case time.
    const auto loudness = [&](int32_t timeMs) {
        int peak = 0;
        const qsizetype first = qsizetype(timeMs - startMs) * 16;
        for (qsizetype i = first; i < first + 1600 && i < pcm.size(); ++i)
            peak = std::max(peak, std::abs(int(uint8_t(pcm[i])) - 128));
        return peak;
    };
    std::vector<uint8_t> sorted(pcm.begin(), pcm.end());
    std::nth_element(sorted.begin(), sorted.begin() + qsizetype(sorted.size() / 2), sorted.end());
    EXPECT_EQ(sorted[sorted.size() / 2], 128);

    for (const Record &e : rescue.allEvents())
        EXPECT_GE(loudness(e.timeMs), 25) << "code " << e.value << " at " << e.timeMs;
    const auto feedback = rescue.records(rescue.path(QStringLiteral("CPR Feedback.bin")));
    ASSERT_FALSE(feedback.empty());
    for (const Record &c : feedback)
        EXPECT_GE(loudness(c.timeMs), 25) << "compression at " << c.timeMs;
    // Before the first prompt only the room is heard.
    EXPECT_LE(loudness(startMs), 2);
}

TEST(Simulator, LongRecordingsCapTheSound)
{
    SimulationOptions o = optionsFor(2, 3.0, true);
    o.audioCapMinutes = 1;
    const Rescue rescue(o);
    const QByteArray audio = rescue.bytes(rescue.path(QStringLiteral("Audio Record.bin")));
    EXPECT_EQ(audio.size(), 4 + 60 * 16000);
    int32_t firstMs = 0;
    const auto ecg = rescue.storedEcg(&firstMs);
    EXPECT_GT(firstMs + int64_t(ecg.size()) * 4, rescue.lengthMs() - 8);
}

} // namespace

namespace {

// Hours of recording (the benchmarks' long import) stay within what a case holds: the
// patient recovers after a few dozen CPR periods and is then only watched.
TEST(Simulator, LongRecordingsStayWithinTheCaseTables)
{
    SimulationOptions o = optionsFor(4, 240.0);
    o.temperature = false;
    const Rescue rescue(o);
    EXPECT_LE(rescue.cprPeriods().size(), 30u);
    EXPECT_LT(rescue.allEvents().size(), 2000u);
    EXPECT_EQ(rescue.trend().back().powerOffMs, uint32_t(rescue.lengthMs()));
    int32_t firstMs = 0;
    const auto ecg = rescue.storedEcg(&firstMs);
    EXPECT_GT(firstMs + int64_t(ecg.size()) * 4, rescue.lengthMs() - 8);
    const auto hr = rescue.records(rescue.mif(QStringLiteral("HR")));
    EXPECT_GT(hr.back().timeMs, rescue.lengthMs() - 1001);
    EXPECT_GT(hr.back().value, 0);
}

} // namespace
