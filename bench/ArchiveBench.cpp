// Opening the archive of a 10-hour recording, measured against only reading the archive's
// bytes in the same run (absolute times vary from machine to machine; the ratio does not);
// the memory an open takes, in process and from the command line, against the ECG bytes.
#include "archive/AedArchiveReader.h"
#include "archive/AedArchiveWriter.h"
#include "archive/CloseAllCases.h"
#include "archive/OpenFlow.h"
#include "base/BinaryReader.h"
#include "bench/BenchCases.h"
#include "case/ReviewState.h"
#include "device/AudioRecordFile.h"
#include "ecg/CEntired.h"
#include "ecg/CMagnified.h"
#include "tools/Simulator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>

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
        ecgBytes = QFileInfo(t.view.store.at(slot).fileSet->ecgPath).size();
    }

    qint64 ecgBytes = 0;
};

// The same archive in a folder of its own with the recording's sound beside it, and the
// WAV that the first open makes.
struct TenHourArchiveWithSound
{
    QString folder;
    QString path;
    bool ready = false;

    explicit TenHourArchiveWithSound(const TenHourArchive &archive)
        : folder(archive.recording.dir.filePath(QStringLiteral("with-sound")))
    {
        QDir().mkpath(folder);
        path = QDir(folder).filePath(QFileInfo(archive.path).fileName());
        if (!QFile::copy(archive.path, path) || !writeTenHourSound(folder))
            return;
        BenchView t;
        const int slot = t.view.store.AllocateCaseSlot(path);
        ReadAedArchive(t.view.store, path, slot, t.view.state.timeZoneChoice);
        LoadAudioRecord(t.view, QDir(folder).filePath(AudioRecordFile::binFileName()), slot);
        MakeAudioRecordWav(t.view, slot);
        ready = t.view.store.at(slot).hasAudio;
    }
};

const TenHourArchive &archive()
{
    static const TenHourArchive a;
    return a;
}

const TenHourArchiveWithSound &archiveWithSound()
{
    static const TenHourArchiveWithSound a(archive());
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
            slot = t.view.store.AllocateCaseSlot(QString());
            ReadAedArchive(t.view.store, archive().path, slot, t.view.state.timeZoneChoice);
        },
        [&] { t.view.store.FreeCase(slot); });
    state.SetBytesProcessed(bytes);
    state.counters["read_ms"] = times.baselineNs / double(state.iterations()) / 1e6;
    state.counters["x_read"] = times.workNs / times.baselineNs;
    state.counters["x_read_cpu"] = times.workCpuNs / times.baselineCpuNs;
    const qint64 peak = peakMemoryOf([&] {
        slot = t.view.store.AllocateCaseSlot(archive().path);
        ReadAedArchive(t.view.store, archive().path, slot, t.view.state.timeZoneChoice);
    });
    t.view.store.FreeCase(slot);
    reportMemory(state, peak, archive().ecgBytes);
}
BENCHMARK(BM_OpenTenHourArchive)->Unit(benchmark::kMillisecond);

// The open of a case with its sound beside the archive (the WAV made by an earlier open):
// the archive read and the audio record loaded, against reading the archive's bytes.
void BM_OpenTenHourCaseWithSound(benchmark::State &state)
{
    const TenHourArchiveWithSound &a = archiveWithSound();
    if (!a.ready) {
        state.SkipWithError("the archive with its sound could not be made");
        return;
    }
    BenchView t;
    int slot = -1;
    const auto open = [&] {
        slot = t.view.store.AllocateCaseSlot(a.path);
        ReadAedArchive(t.view.store, a.path, slot, t.view.state.timeZoneChoice);
        LoadAudioRecord(t.view, QDir(a.folder).filePath(AudioRecordFile::binFileName()), slot);
    };
    const PairedTimes times =
        timeAgainstBaseline(state, [&] { readArchiveBytes(); }, open, [&] { t.view.store.FreeCase(slot); });
    state.counters["read_ms"] = times.baselineNs / double(state.iterations()) / 1e6;
    state.counters["x_read"] = times.workNs / times.baselineNs;
    state.counters["x_read_cpu"] = times.workCpuNs / times.baselineCpuNs;
    const qint64 peak = peakMemoryOf(open);
    t.view.store.FreeCase(slot);
    reportMemory(state, peak, archive().ecgBytes);
}
BENCHMARK(BM_OpenTenHourCaseWithSound)->Unit(benchmark::kMillisecond);

// The first open of the case for review, its WAV made from the record beside it: the
// archive read, the record bound and the WAV streamed out, against reading the archive's
// bytes; the peak memory beside the ECG's bytes stays that of the open without sound,
// since the WAV is never held whole.
void BM_FirstOpenTenHourCaseMakingItsWav(benchmark::State &state)
{
    const TenHourArchiveWithSound &a = archiveWithSound();
    if (!a.ready) {
        state.SkipWithError("the archive with its sound could not be made");
        return;
    }
    const QString bin = QDir(a.folder).filePath(AudioRecordFile::binFileName());
    const QString wav = AudioRecordFile::wavPathBeside(bin);
    BenchView t;
    int slot = -1;
    const auto open = [&] {
        slot = t.view.store.AllocateCaseSlot(a.path);
        ReadAedArchive(t.view.store, a.path, slot, t.view.state.timeZoneChoice);
        LoadAudioRecord(t.view, bin, slot);
        MakeAudioRecordWav(t.view, slot);
    };
    const auto tidy = [&] {
        t.view.store.FreeCase(slot);
        QFile::remove(wav);
    };
    QFile::remove(wav);
    const PairedTimes times = timeAgainstBaseline(state, [&] { readArchiveBytes(); }, open, tidy);
    state.counters["read_ms"] = times.baselineNs / double(state.iterations()) / 1e6;
    state.counters["x_read"] = times.workNs / times.baselineNs;
    state.counters["x_read_cpu"] = times.workCpuNs / times.baselineCpuNs;
    const qint64 peak = peakMemoryOf(open);
    state.counters["wav_made"] = QFileInfo(wav).size() == AudioRecordFile::WavHeaderBytes + TenHourSoundSamples;
    tidy();
    // Leaves the WAV for the benchmarks that open the case again.
    AudioRecordFile::makeWavBeside(bin, wav);
    reportMemory(state, peak, archive().ecgBytes);
}
BENCHMARK(BM_FirstOpenTenHourCaseMakingItsWav)->Unit(benchmark::kMillisecond);

// "ravelin-cli info" of the archive, without (0) and with (1) the sound beside it: its
// peak memory over its own start-up (the same command on a missing archive), and its time
// against reading the archive's bytes.
void BM_CliInfoTenHour(benchmark::State &state)
{
    const bool withSound = state.range(0) == 1;
    const QString path = withSound ? archiveWithSound().path : archive().path;
    if (withSound && !archiveWithSound().ready) {
        state.SkipWithError("the archive with its sound could not be made");
        return;
    }
    const QString cli = cliProgram();
    const QString missing = archive().recording.dir.filePath(QStringLiteral("missing.aed"));
    double startNs = 0, infoNs = 0, readNs = 0, startCpuNs = 0, infoCpuNs = 0;
    qint64 startPeak = 0, infoPeak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QElapsedTimer read;
        read.start();
        readArchiveBytes();
        readNs += double(read.nsecsElapsed());
        const ChildRun start = runChild(cli, {QStringLiteral("info"), missing});
        startNs += start.ns;
        startCpuNs += start.cpuNs;
        startPeak = std::max(startPeak, start.peakBytes);
        state.ResumeTiming();

        const ChildRun info = runChild(cli, {QStringLiteral("info"), path});
        if (info.exitStatus != 0) {
            state.SkipWithError("ravelin-cli info failed");
            return;
        }
        infoNs += info.ns;
        infoCpuNs += info.cpuNs;
        infoPeak = std::max(infoPeak, info.peakBytes);
    }
    const double n = double(state.iterations());
    state.counters["startup_ms"] = startNs / n / 1e6;
    state.counters["x_read_over_startup"] = (infoNs - startNs) / readNs;
    state.counters["info_cpu_ms"] = infoCpuNs / n / 1e6;
    state.counters["startup_cpu_ms"] = startCpuNs / n / 1e6;
    reportMemory(state, infoPeak - startPeak, archive().ecgBytes);
}
BENCHMARK(BM_CliInfoTenHour)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

namespace {

// The open as the program does it (archive, event list, CPR feedback and sound), without
// (0) and with (1) the sound beside the archive, against reading the archive's bytes.
void BM_OpenTenHourCaseFlow(benchmark::State &state)
{
    const bool withSound = state.range(0) == 1;
    if (withSound && !archiveWithSound().ready) {
        state.SkipWithError("the archive with its sound could not be made");
        return;
    }
    const QString path = withSound ? archiveWithSound().path : archive().path;
    BenchView t;
    const auto open = [&] {
        if (OpenFlow(t.view).OpenArchiveFile(path) != OpenFlow::Outcome::Opened)
            state.SkipWithError("the open failed");
    };
    const auto close = [&] { CloseAllCases(t.view); };
    const PairedTimes times = timeAgainstBaseline(state, [&] { readArchiveBytes(); }, open, close);
    state.counters["read_ms"] = times.baselineNs / double(state.iterations()) / 1e6;
    state.counters["x_read"] = times.workNs / times.baselineNs;
    state.counters["x_read_cpu"] = times.workCpuNs / times.baselineCpuNs;
    const qint64 peak = peakMemoryOf(open);
    close();
    reportMemory(state, peak, archive().ecgBytes);
}
BENCHMARK(BM_OpenTenHourCaseFlow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The memory of the ECG windows at 1920 x 1080: made and sized with no case (the empty
// window, "windows_mb" over the process before), then the case opened and every view
// drawn once (the entire ECG; the enlarged 8-second, 6-second and large views), the peak
// of which is measured over the empty window.
void BM_TenHourCaseInEcgWindowsMemory(benchmark::State &state)
{
    constexpr int Width = 1920;
    constexpr int Height = 1080;
    const QString path = archive().path;
    qint64 windowsPeak = 0;
    qint64 peak = 0;
    for (auto _ : state) {
        BenchView t;
        ReviewState review;
        std::unique_ptr<CEntired> entire;
        std::unique_ptr<CMagnified> enlarged;
        windowsPeak = peakMemoryOf([&] {
            entire = std::make_unique<CEntired>(t.view, review);
            enlarged = std::make_unique<CMagnified>(t.view, review);
            entire->Resize(0, 0, Width, Height);
            enlarged->Resize(0, 0, Width, Height);
            entire->UpdateLayout();
            enlarged->UpdateLayout();
        });
        peak = peakMemoryOf([&] {
            if (OpenFlow(t.view).OpenArchiveFile(path) != OpenFlow::Outcome::Opened) {
                state.SkipWithError("the open failed");
                return;
            }
            const int slot = t.view.store.slotCount() - 1;
            review.m_nSelCase = slot;
            entire->m_nCase = slot;
            entire->SetPosition(CTimeSpan(3600));
            entire->FillRows(slot);
            entire->Redraw();
            enlarged->m_nCase = slot;
            enlarged->SetCentreTime(3600 * 1000);
            for (int view = 0; view < 3; ++view) {
                enlarged->m_bLargeView = view == 2;
                enlarged->m_bEightSecondView = view == 0;
                enlarged->FillBuffers(slot);
                enlarged->Redraw();
            }
        });
        CloseAllCases(t.view);
    }
    state.counters["windows_mb"] = double(windowsPeak) / (1024.0 * 1024.0);
    reportMemory(state, peak, archive().ecgBytes);
}
BENCHMARK(BM_TenHourCaseInEcgWindowsMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
