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

// What an import does with the folder in view.state.mifFolderPath up to the event-list
// build: scratch load, new case, decoding. Returns the case's slot.
int importAndDecode(CaseSession &view);

// The nanoseconds summed over the iterations of a run measured against a baseline.
struct PairedTimes
{
    double baselineNs = 0;
    double workNs = 0;
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
        b.start();
        baseline();
        times.baselineNs += double(b.nsecsElapsed());
        state.ResumeTiming();

        QElapsedTimer w;
        w.start();
        work();
        times.workNs += double(w.nsecsElapsed());

        if constexpr (!std::is_same_v<std::decay_t<Tidy>, NoTidy>) {
            state.PauseTiming();
            tidy();
            state.ResumeTiming();
        }
    }
    return times;
}
