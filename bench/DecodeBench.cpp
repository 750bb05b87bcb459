// Decoding a 10-hour recording, measured against only reading the same device files in
// the same run (absolute times vary from machine to machine; the ratio does not).
#include "bench/BenchCases.h"

#include <QFile>

namespace {

using DeviceFiles::DeviceFolder;
using DeviceFiles::TrendBlock;

constexpr int RecordingSeconds = 10 * 3600;
constexpr int BlockSeconds = 36; // 1000 trend blocks over the recording

// A rescue repeated every 36 s: analysis, advice, CPR with coaching prompts, a shock every
// tenth block and a pads change every hundredth.
TrendBlock rescueBlock(int b)
{
    const int32_t t = b * BlockSeconds * 1000;
    TrendBlock block;
    block.mode = 1;
    block.impedanceOhm = 70 + b % 30;
    const std::pair<int32_t, int32_t> entries[] = {
        {6, t + 1000}, {7, t + 5000}, {11, t + 6000}, {12, t + 8000}, {16, t + 10000}, {17, t + 12000},
        {18, t + 14000}, {19, t + 16000}, {24, t + 18000}, {25, t + 19000}, {13, t + 20000}, {14, t + 30000},
    };
    size_t e = 0;
    for (const auto &[code, time] : entries)
        block.events[e++] = {code, time};
    if (b % 10 == 0) {
        block.events[e++] = {27, t + 31000};
        block.shockMs = t + 32000;
        block.energyTenthsJ = 1500;
    }
    if (b % 100 == 50)
        block.pads[0] = {uint32_t(t + 33000), uint32_t(t + 34000), 1};
    return block;
}

DeviceFolder tenHourFolder()
{
    DeviceFolder f;
    f.model = DeviceFiles::Model::Q26;
    f.ecgFirstSampleMs = 0;
    f.ecgRaw.resize(size_t(RecordingSeconds) * 250);
    for (size_t k = 0; k < f.ecgRaw.size(); ++k)
        f.ecgRaw[k] = k % 250 < 12 ? 600 - int32_t(k % 250) * 50 : int32_t(k % 17) * 4 - 32;
    for (int s = 0; s < RecordingSeconds; ++s)
        f.heartRate.push_back({s * 1000, 60 + s % 40});
    for (int s = 0; s < RecordingSeconds; s += 10)
        f.temperature.push_back({s * 1000, 36 + s % 2});
    for (int b = 0; b < RecordingSeconds / BlockSeconds; ++b)
        f.trend.push_back(rescueBlock(b));
    f.trend.back().powerOffMs = uint32_t(RecordingSeconds) * 1000;
    return f;
}

// The recording, written once per run.
const RecordingFolder &recording()
{
    static const RecordingFolder r(tenHourFolder());
    return r;
}

struct ViewUnderTest : BenchView
{
    ViewUnderTest()
    {
        view.state.mifFolderPath = recording().folder;
        view.state.deviceModel = ModelNone;
        view.state.serialNumber = QStringLiteral("BENCH");
    }
};

// Reads the five files whole, as plainly as Qt allows; the baseline.
qint64 readFilesOnly()
{
    CC8Class names;
    names.SetPaths(recording().folder, ModelNone);
    qint64 bytes = 0;
    for (const QString *path : {&names.ctPath, &names.ecgPath, &names.hrPath, &names.trendPath, &names.tempPath}) {
        QFile file(*path);
        file.open(QIODevice::ReadOnly);
        const QByteArray data = file.readAll();
        benchmark::DoNotOptimize(data.constData());
        bytes += data.size();
    }
    return bytes;
}

void BM_ReadTenHourFiles(benchmark::State &state)
{
    recording();
    qint64 bytes = 0;
    for (auto _ : state)
        bytes += readFilesOnly();
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_ReadTenHourFiles)->Unit(benchmark::kMillisecond);

// Import and decode; counters give the read-only time of the same iterations and the ratio.
void BM_ImportAndDecodeTenHours(benchmark::State &state)
{
    recording();
    ViewUnderTest t;
    const PairedTimes times = timeAgainstBaseline(
        state, [] { readFilesOnly(); }, [&] { importAndDecode(t.view); }, [&] { t.view.store.FreeAllCases(); });
    const double n = double(state.iterations());
    state.counters["read_ms"] = times.baselineNs / n / 1e6;
    state.counters["x_read"] = times.workNs / times.baselineNs;
    state.counters["samples"] = double(RecordingSeconds) * 250;
}
BENCHMARK(BM_ImportAndDecodeTenHours)->Unit(benchmark::kMillisecond);

// Decoding alone, the files already in the case's file set.
void BM_DecodeOnlyTenHours(benchmark::State &state)
{
    recording();
    ViewUnderTest t;
    for (auto _ : state) {
        state.PauseTiming();
        t.view.store.FreeAllCases();
        t.view.store.setTempFilePresent(0, 1);
        const int slot = MifCase::CreateCaseFromMif(t.view);
        t.view.store.at(slot).tempLoaded = 1;
        state.ResumeTiming();
        MifCase::DecodeCaseData(t.view.store, slot, t.view.texts(), t.view.state.deviceModel, t.view.state.modelIndex);
    }
    state.counters["events"] = double(t.view.store.caseAt(0)->events.usedCount());
}
BENCHMARK(BM_DecodeOnlyTenHours)->Unit(benchmark::kMillisecond);

} // namespace
