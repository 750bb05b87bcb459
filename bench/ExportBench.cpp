// Exporting a 10-hour recording to EDF+, measured against writing the same number of bytes
// with a plain file write in the same run (the goal: within twice that).
#include "base/AtomicFileWriter.h"
#include "bench/BenchCases.h"
#include "export/CaseExport.h"

#include <QFile>

namespace {

struct TenHourCase
{
    RecordingFolder recording{simulateRescue(tenHourOptions())};
    BenchView t;
    int slot = -1;
    qint64 edfBytes = 0;

    TenHourCase()
    {
        t.view.state.mifFolderPath = recording.folder;
        t.view.state.deviceModel = ModelNone;
        t.view.state.serialNumber = QStringLiteral("BENCH");
        slot = importAndDecode(t.view);
        edfBytes = CaseExport::build(t.view.store.at(slot), t.texts, ExportKind::Edf, {}).bytes.size();
    }
};

TenHourCase &tenHours()
{
    static TenHourCase c;
    return c;
}

void plainWrite(const QString &path, qint64 size)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(QByteArray(size, '\x5a'));
    f.flush();
}

void BM_ExportTenHourEdf(benchmark::State &state)
{
    TenHourCase &c = tenHours();
    const QString plain = c.recording.dir.filePath(QStringLiteral("plain.bin"));
    const QString edf = c.recording.dir.filePath(QStringLiteral("export.edf"));
    const PairedTimes times = timeAgainstBaseline(
        state, [&] { plainWrite(plain, c.edfBytes); },
        [&] {
            AtomicFileWriter::write(edf, CaseExport::build(c.t.view.store.at(c.slot), c.t.texts, ExportKind::Edf, {}).bytes);
        });
    state.SetBytesProcessed(int64_t(state.iterations()) * c.edfBytes);
    state.counters["write_ms"] = times.baselineNs / double(state.iterations()) / 1e6;
    state.counters["x_write"] = times.workNs / times.baselineNs;
}
BENCHMARK(BM_ExportTenHourEdf)->Unit(benchmark::kMillisecond);

// The same without the file: only laying out the bytes, against the same plain write, to
// tell the layout's share from that of the synced, renamed write.
void BM_LayOutTenHourEdf(benchmark::State &state)
{
    TenHourCase &c = tenHours();
    const QString plain = c.recording.dir.filePath(QStringLiteral("plain.bin"));
    const PairedTimes times = timeAgainstBaseline(
        state, [&] { plainWrite(plain, c.edfBytes); },
        [&] {
            const QByteArray bytes = CaseExport::build(c.t.view.store.at(c.slot), c.t.texts, ExportKind::Edf, {}).bytes;
            benchmark::DoNotOptimize(bytes.constData());
        });
    state.counters["write_ms"] = times.baselineNs / double(state.iterations()) / 1e6;
    state.counters["x_write"] = times.workNs / times.baselineNs;
}
BENCHMARK(BM_LayOutTenHourEdf)->Unit(benchmark::kMillisecond);

} // namespace
