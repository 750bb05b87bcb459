// Opening the archive of a 10-hour recording, measured against only reading the archive's
// bytes in the same run (absolute times vary from machine to machine; the ratio does not).
#include "archive/AedArchiveReader.h"
#include "archive/AedArchiveWriter.h"
#include "base/BinaryReader.h"
#include "bench/BenchCases.h"
#include "tools/Simulator.h"

namespace {

// A simulated 10-hour rescue (no sound) written as a device folder and converted into an
// archive beside it, once per run.
struct TenHourArchive
{
    RecordingFolder recording{simulateRescue(tenHourOptions())};
    QString path = recording.dir.filePath(QStringLiteral("Q26_0905(2021-03-07).aed"));

    TenHourArchive()
    {
        BenchView t;
        t.view.state.mifFolderPath = recording.folder;
        t.view.state.deviceModel = ModelNone;
        t.view.state.serialNumber = QStringLiteral("BENCH");
        t.view.store.setTempFilePresent(t.view.store.nextCaseSlot(), 1);
        const int slot = MifCase::CreateCaseFromMif(t.view);
        WriteAedArchive(t.view.store, slot, path, AedArchiveVariant::Conversion);
    }
};

const TenHourArchive &archive()
{
    static const TenHourArchive a;
    return a;
}

qint64 readArchiveBytes()
{
    const QByteArray bytes = BinaryReader::readWholeFile(archive().path);
    benchmark::DoNotOptimize(bytes.constData());
    return bytes.size();
}

void BM_ReadTenHourArchiveBytes(benchmark::State &state)
{
    archive();
    qint64 bytes = 0;
    for (auto _ : state)
        bytes += readArchiveBytes();
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_ReadTenHourArchiveBytes)->Unit(benchmark::kMillisecond);

// ReadAedArchive into a fresh slot; counters give the byte read of the same iterations
// and the ratio.
void BM_OpenTenHourArchive(benchmark::State &state)
{
    archive();
    BenchView t;
    qint64 bytes = 0;
    int slot = -1;
    const PairedTimes times = timeAgainstBaseline(
        state, [&] { bytes += readArchiveBytes(); },
        [&] {
            slot = t.view.store.AllocateCaseSlot(t.view.state.currentFolder + t.view.state.currentArchiveName);
            ReadAedArchive(t.view.store, archive().path, slot, t.view.state.timeZoneChoice);
        },
        [&] { t.view.store.FreeCase(slot); });
    state.SetBytesProcessed(bytes);
    state.counters["read_ms"] = times.baselineNs / double(state.iterations()) / 1e6;
    state.counters["x_read"] = times.workNs / times.baselineNs;
}
BENCHMARK(BM_OpenTenHourArchive)->Unit(benchmark::kMillisecond);

} // namespace
