// Exporting a 10-hour recording to EDF+, measured against writing the same number of bytes
// in the same run: with a plain file write (the goal: within twice that), and as the
// program must write every file, through the atomic writer (written, synced to disk,
// renamed), so that the cost of making the file durable shows on both sides.
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
        edfBytes = build().size();
    }

    QByteArray build()
    {
        return CaseExport::build(t.view.store.at(slot), t.texts, ExportKind::Edf, {}).bytes;
    }

    QString path(const char *name) const { return recording.dir.filePath(QLatin1String(name)); }
};

TenHourCase &tenHours()
{
    static TenHourCase c;
    return c;
}

void plainWrite(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
    f.flush();
}

// Per iteration, with the benchmark clock paused: the plain write of as many bytes as the
// export makes and, when durable is set, the same bytes through the atomic writer; then
// work on the clock. Reports each baseline's time and the work's multiple of it.
template <typename Work>
void timeAgainstWrites(benchmark::State &state, bool durable, Work &&work)
{
    TenHourCase &c = tenHours();
    const QString plain = c.path("plain.bin");
    const QString synced = c.path("durable.bin");
    double plainNs = 0;
    double durableNs = 0;
    QElapsedTimer clock;
    const PairedTimes times = timeAgainstBaseline(state,
                                                  [&] {
                                                      clock.start();
                                                      plainWrite(plain, QByteArray(c.edfBytes, '\x5a'));
                                                      plainNs += double(clock.nsecsElapsed());
                                                      if (durable) {
                                                          clock.start();
                                                          AtomicFileWriter::write(synced, QByteArray(c.edfBytes, '\x5a'));
                                                          durableNs += double(clock.nsecsElapsed());
                                                      }
                                                  },
                                                  work);
    const double n = double(state.iterations());
    state.SetBytesProcessed(int64_t(state.iterations()) * c.edfBytes);
    state.counters["plain_write_ms"] = plainNs / n / 1e6;
    state.counters["x_plain_write"] = times.workNs / plainNs;
    if (durable) {
        state.counters["durable_write_ms"] = durableNs / n / 1e6;
        state.counters["x_durable_write"] = times.workNs / durableNs;
    }
}

// The export as the program makes it: laid out, written, synced and renamed.
void BM_ExportTenHourEdf(benchmark::State &state)
{
    TenHourCase &c = tenHours();
    const QString edf = c.path("export.edf");
    timeAgainstWrites(state, true, [&] { AtomicFileWriter::write(edf, c.build()); });
}
BENCHMARK(BM_ExportTenHourEdf)->Unit(benchmark::kMillisecond);

// The same export written with a plain file write: what the layout adds to the write itself.
void BM_ExportTenHourEdfUnsynced(benchmark::State &state)
{
    TenHourCase &c = tenHours();
    const QString edf = c.path("unsynced.edf");
    timeAgainstWrites(state, false, [&] { plainWrite(edf, c.build()); });
}
BENCHMARK(BM_ExportTenHourEdfUnsynced)->Unit(benchmark::kMillisecond);

// Only laying out the bytes, without the file.
void BM_LayOutTenHourEdf(benchmark::State &state)
{
    TenHourCase &c = tenHours();
    timeAgainstWrites(state, false, [&] {
        const QByteArray bytes = c.build();
        benchmark::DoNotOptimize(bytes.constData());
    });
}
BENCHMARK(BM_LayOutTenHourEdf)->Unit(benchmark::kMillisecond);

} // namespace
