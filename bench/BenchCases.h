#pragma once

#include "base/LanguagePack.h"
#include "base/Platform.h"
#include "case/CaseSession.h"
#include "device/EventListBuild.h"
#include "device/MifCase.h"
#include "tools/DeviceFolderWriter.h"
#include "tools/Simulator.h"

#include <QElapsedTimer>
#include <QString>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <type_traits>

// The platform of the benchmarks: every message is answered OK and nothing is shown.
class QuietPlatform : public Platform
{
public:
    Answer messageBox(const QString &, const QString &, Icon, Buttons) override { return Answer::Ok; }
};

// A view over the quiet platform with the built-in texts.
struct BenchView
{
    LanguagePack texts;
    QuietPlatform platform;
    CaseSession view{texts, platform};

    BenchView() { texts.loadBuiltIn(); }
};

// A device folder written as name ("rescue") into a temporary folder that lives as long as this.
struct RecordingFolder
{
    QTemporaryDir dir;
    QString folder;

    explicit RecordingFolder(const DeviceFiles::DeviceFolder &files, const QString &name = QStringLiteral("rescue"))
        : folder(dir.filePath(name))
    {
        files.write(folder);
    }
};

// The long recording of the benchmarks: a simulated 10-hour rescue without sound.
SimulationOptions tenHourOptions();

// The sound of the long recording: as long as a device keeps, 3600 seconds at 16000
// samples per second (57.6 MB).
constexpr qint64 TenHourSoundSamples = qint64(3600) * 16000;
// Writes "Audio Record.bin" of that length into folder; false when it cannot be written.
bool writeTenHourSound(const QString &folder);

// Resident memory of this process in bytes. resetPeak() starts a new peak at what is
// resident now (false where the system cannot); peakBytes() is the highest since.
namespace ResidentMemory {
bool resetPeak();
qint64 nowBytes();
qint64 peakBytes();
} // namespace ResidentMemory

// Runs work once and returns the peak resident memory it added, in bytes (-1 where the
// peak cannot be reset).
template <typename Work>
qint64 peakMemoryOf(Work &&work)
{
    if (!ResidentMemory::resetPeak())
        return -1;
    const qint64 before = ResidentMemory::nowBytes();
    work();
    return ResidentMemory::peakBytes() - before;
}

// One run of another program: its exit status, wall time, CPU time and peak resident memory.
struct ChildRun
{
    int exitStatus = -1; // -1 when it did not start or did not exit normally
    double ns = 0;
    double cpuNs = 0;
    qint64 peakBytes = 0;
};

// The programs measured from outside: those built beside the benchmarks, or those named
// by RAVELIN_BENCH_CLI, RAVELIN_BENCH_PROGRAM and RAVELIN_BENCH_MINIMAL_WINDOW (to measure
// another build with the same benchmarks).
QString cliProgram();
QString mainProgram();
QString minimalWindowProgram();

// Runs program with arguments (extra environment entries "NAME=value" added), its output
// discarded, and waits for it. The program runs under GNU time, which reports its peak
// memory: a program started straight from this large process would be charged with this
// process's memory as well.
ChildRun runChild(const QString &program, const QStringList &arguments, const QStringList &environment = {});

// The memory goal of the long recording over a baseline: 1.2 x the ECG bytes + 16 MB.
inline double memoryGoalBytes(qint64 ecgBytes) { return 1.2 * double(ecgBytes) + 16.0 * 1024 * 1024; }

// Counters of a memory measurement: MB over the baseline, the goal in MB, the multiple
// of the ECG bytes, and the share of the goal (at most 1 when the goal holds).
void reportMemory(benchmark::State &state, qint64 overBytes, qint64 ecgBytes, const char *prefix = "peak");

// What an import does with the folder in view.state.mifFolderPath up to the event-list
// build: scratch load, new case, decoding. Returns the case's slot.
int importAndDecode(CaseSession &view);

// CPU time of this process, all its threads, in ns. On a machine shared with other work
// the wall time of a step grows with the load; its CPU time much less.
double processCpuNs();

// The nanoseconds summed over the iterations of a run measured against a baseline: wall
// time and the process's CPU time.
struct PairedTimes
{
    double baselineNs = 0;
    double workNs = 0;
    double baselineCpuNs = 0;
    double workCpuNs = 0;
};

// The tidy step of a measurement that leaves nothing to tidy: the clock is not paused for it.
struct NoTidy
{
    void operator()() const {}
};

// Per iteration: baseline timed with the benchmark clock paused, work timed on the clock,
// then tidy with the clock paused again.
template <typename Baseline, typename Work, typename Tidy = NoTidy>
PairedTimes timeAgainstBaseline(benchmark::State &state, Baseline &&baseline, Work &&work, Tidy &&tidy = {})
{
    PairedTimes times;
    for (auto _ : state) {
        state.PauseTiming();
        QElapsedTimer b;
        const double bCpu = processCpuNs();
        b.start();
        baseline();
        times.baselineNs += double(b.nsecsElapsed());
        times.baselineCpuNs += processCpuNs() - bCpu;
        state.ResumeTiming();

        QElapsedTimer w;
        const double wCpu = processCpuNs();
        w.start();
        work();
        times.workNs += double(w.nsecsElapsed());
        times.workCpuNs += processCpuNs() - wCpu;

        if constexpr (!std::is_same_v<std::decay_t<Tidy>, NoTidy>) {
            state.PauseTiming();
            tidy();
            state.ResumeTiming();
        }
    }
    return times;
}
