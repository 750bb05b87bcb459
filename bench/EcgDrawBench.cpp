// One drawing run of each ECG picture at 1920 x 1080 for a simulated rescue, measured
// against filling a picture of the same size and copying it (what a paint does) in the
// same run; the ratio is what to compare between machines.
#include "app/LanguagePack.h"
#include "app/Platform.h"
#include "case/CRavelinView.h"
#include "case/ReviewState.h"
#include "ecg/CEntired.h"
#include "ecg/CMagnified.h"
#include "tools/Simulator.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int Width = 1920;
constexpr int Height = 1080;

class QuietPlatform : public Platform
{
public:
    Answer messageBox(const QString &, const QString &, Icon, Buttons) override { return Answer::Ok; }
};

// A 20-minute rescue decoded as an import does, with its CPR feedback and audio start.
struct SimulatedCase
{
    QTemporaryDir dir;
    LanguagePack texts;
    QuietPlatform platform;
    CRavelinView view{texts, platform};
    ReviewState review;
    int slot = 0;
    int32_t centreMs = 0; // a busy moment: during CPR, events near by

    SimulatedCase()
    {
        texts.loadBuiltIn();
        SimulationOptions options;
        options.minutes = 20;
        options.seed = 5;
        const DeviceFiles::DeviceFolder folder = simulateRescue(options);
        const QString path = dir.filePath(QStringLiteral("rescue"));
        folder.write(path);

        view.state.mifFolderPath = path;
        view.state.serialNumber = QStringLiteral("BENCH");
        view.setTempFilePresent(view.nextCaseSlot(), 1);
        view.scratchFileSet.SetPaths(path, view.state.deviceModel);
        view.LoadFiles(view.scratchFileSet, 0);
        view.scratchFileSet.SplitTrendBlocks();
        slot = view.CreateCaseFromMif();
        view.tempLoaded[size_t(slot)] = 1;
        view.DecodeCaseData(slot);

        CaseRecord *c = view.caseAt(slot);
        for (const DeviceFiles::TimedValue &r : folder.cprFeedback)
            c->cprFeedback.push_back({r.timeMs, r.value});
        c->cprFeedbackCount = int32_t(c->cprFeedback.size());
        view.hasCprFeedback[size_t(slot)] = true;
        view.hasAudio[size_t(slot)] = folder.hasAudio;
        view.audioStartMs[size_t(slot)] = folder.audioStartMs;
        review.m_nSelCase = slot;
        centreMs = c->cprFeedback.empty() ? c->ecgStartMs + 60000
                                          : c->cprFeedback[c->cprFeedback.size() / 2].timeMs / 1000 * 1000;
    }
};

SimulatedCase &simulated()
{
    static SimulatedCase s;
    return s;
}

// The baseline: fill a picture of the window's size and copy it onto another.
struct FillAndCopy
{
    QImage source{Width, Height, QImage::Format_RGB32};
    QImage target{Width, Height, QImage::Format_RGB32};

    void run()
    {
        source.fill(Qt::white);
        QPainter painter(&target);
        painter.drawImage(0, 0, source);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
    }
};

// Times run() per iteration and, paused, the baseline; reports both and their ratio.
template <typename Run>
void measureAgainstBaseline(benchmark::State &state, Run &&run)
{
    FillAndCopy baseline;
    double baselineNs = 0;
    double drawNs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QElapsedTimer b;
        b.start();
        baseline.run();
        baselineNs += double(b.nsecsElapsed());
        state.ResumeTiming();

        QElapsedTimer d;
        d.start();
        run();
        drawNs += double(d.nsecsElapsed());
    }
    const double n = double(state.iterations());
    state.counters["fill_copy_ms"] = baselineNs / n / 1e6;
    state.counters["x_fill_copy"] = drawNs / baselineNs;
}

void BM_FillAndCopy(benchmark::State &state)
{
    FillAndCopy baseline;
    for (auto _ : state)
        baseline.run();
}
BENCHMARK(BM_FillAndCopy)->Unit(benchmark::kMillisecond);

void BM_EntireEcgRedraw(benchmark::State &state)
{
    SimulatedCase &s = simulated();
    CEntired window(s.view, s.review);
    window.Resize(0, 0, Width, Height);
    window.UpdateLayout();
    window.SetPosition(CTimeSpan(s.centreMs / 1000));
    window.m_nCase = s.slot;
    window.FillRows(s.slot);
    measureAgainstBaseline(state, [&] { window.Redraw(); });
}
BENCHMARK(BM_EntireEcgRedraw)->Unit(benchmark::kMillisecond);

// Argument: 0 the 8-second view, 1 the 6-second view, 2 the large view.
void BM_EnlargedEcgRedraw(benchmark::State &state)
{
    SimulatedCase &s = simulated();
    CMagnified window(s.view, s.review);
    window.Resize(0, 0, Width, Height);
    window.UpdateLayout();
    window.m_bLargeView = state.range(0) == 2;
    window.m_bEightSecondView = state.range(0) == 0;
    window.SetCentreTime(s.centreMs);
    window.m_nCase = s.slot;
    window.FillBuffers(s.slot);
    measureAgainstBaseline(state, [&] { window.Redraw(); });
}
BENCHMARK(BM_EnlargedEcgRedraw)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace
