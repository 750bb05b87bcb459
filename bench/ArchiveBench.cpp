// Opening the archive of a 10-hour recording, measured against only reading the archive's
// bytes in the same run (absolute times vary from machine to machine; the ratio does not).
#include "app/LanguagePack.h"
#include "app/Platform.h"
#include "archive/AedArchiveReader.h"
#include "archive/AedArchiveWriter.h"
#include "archive/BinaryReader.h"
#include "case/CRavelinView.h"
#include "tools/Simulator.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

class QuietPlatform : public Platform
{
public:
    Answer messageBox(const QString &, const QString &, Icon, Buttons) override { return Answer::Ok; }
};

struct ArchiveViewUnderTest
{
    LanguagePack texts;
    QuietPlatform platform;
    CRavelinView view{texts, platform};

    ArchiveViewUnderTest() { texts.loadBuiltIn(); }
};

// A simulated 10-hour rescue (no sound) written as a device folder and converted into an
// archive beside it, once per run.
struct TenHourArchive
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Q26_0905(2021-03-07).aed"));

    TenHourArchive()
    {
        SimulationOptions options;
        options.minutes = 600;
        options.audio = false;
        const QString folder = dir.filePath(QStringLiteral("rescue"));
        simulateRescue(options).write(folder);

        ArchiveViewUnderTest t;
        t.view.state.mifFolderPath = folder;
        t.view.state.deviceModel = ModelNone;
        t.view.state.serialNumber = QStringLiteral("BENCH");
        t.view.setTempFilePresent(t.view.nextCaseSlot(), 1);
        const int slot = t.view.CreateCaseFromMif();
        WriteAedArchive(t.view, slot, path, AedArchiveVariant::Conversion);
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
    ArchiveViewUnderTest t;
    double readNs = 0;
    double openNs = 0;
    qint64 bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QElapsedTimer read;
        read.start();
        bytes += readArchiveBytes();
        readNs += double(read.nsecsElapsed());
        state.ResumeTiming();

        QElapsedTimer open;
        open.start();
        const int slot = t.view.AllocateCaseSlot();
        ReadAedArchive(t.view, archive().path, slot);
        openNs += double(open.nsecsElapsed());

        state.PauseTiming();
        t.view.FreeCase(slot);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(bytes);
    state.counters["read_ms"] = readNs / double(state.iterations()) / 1e6;
    state.counters["x_read"] = openNs / readNs;
}
BENCHMARK(BM_OpenTenHourArchive)->Unit(benchmark::kMillisecond);

} // namespace
