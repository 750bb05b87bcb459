// One drawing run of each ECG picture at 1920 x 1080 for a simulated rescue, measured
// against filling a picture of the same size and copying it (what a paint does) in the
// same run; the ratio is what to compare between machines.
#include "bench/BenchCases.h"
#include "case/ReviewState.h"
#include "ecg/CEntired.h"
#include "ecg/CMagnified.h"
#include "tools/Simulator.h"

#include <QImage>
#include <QPainter>

#include <memory>

namespace {

constexpr int Width = 1920;
constexpr int Height = 1080;

// A 20-minute rescue decoded as an import does, with its CPR feedback and audio start.
struct SimulatedCase : BenchView
{
    DeviceFiles::DeviceFolder folder = simulateRescue(twentyMinutes());
    RecordingFolder recording{folder};
    ReviewState review;
    int slot = 0;
    int32_t centreMs = 0; // a busy moment: during CPR, events near by

    static SimulationOptions twentyMinutes()
    {
        SimulationOptions options;
        options.minutes = 20;
        options.seed = 5;
        return options;
    }

    SimulatedCase()
    {
        view.state.mifFolderPath = recording.folder;
        view.state.serialNumber = QStringLiteral("BENCH");
        slot = importAndDecode(view);

        CaseRecord *c = view.store.caseAt(slot);
        for (const DeviceFiles::TimedValue &r : folder.cprFeedback)
            c->cprFeedback.push_back({r.timeMs, r.value});
        c->cprFeedbackCount = int32_t(c->cprFeedback.size());
        view.store.at(slot).hasCprFeedback = true;
        view.store.at(slot).hasAudio = folder.hasAudio;
        view.store.at(slot).audioStartMs = folder.audioStartMs;
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

// The fill-and-copy on its own, not paired with a drawing run: the mean CPU time of a few
// runs after a warm-up, in ns.
double fillAndCopyAloneNs()
{
    constexpr int Runs = 30;
    FillAndCopy baseline;
    baseline.run();
    const double cpu = processCpuNs();
    for (int i = 0; i < Runs; ++i)
        baseline.run();
    return (processCpuNs() - cpu) / Runs;
}

// Times run() per iteration and, paused, the baseline; reports both and their ratio, and
// the ratio against the fill-and-copy measured on its own.
template <typename Run, typename Tidy = NoTidy>
void measureAgainstBaseline(benchmark::State &state, Run &&run, Tidy &&tidy = {})
{
    FillAndCopy baseline;
    const PairedTimes times = timeAgainstBaseline(state, [&] { baseline.run(); }, run, tidy);
    const double n = double(state.iterations());
    state.counters["fill_copy_ms"] = times.baselineNs / n / 1e6;
    state.counters["x_fill_copy"] = times.workNs / times.baselineNs;
    state.counters["x_fill_copy_cpu"] = times.workCpuNs / times.baselineCpuNs;
    const double alone = fillAndCopyAloneNs();
    state.counters["fill_copy_alone_cpu_ms"] = alone / 1e6;
    state.counters["x_fill_copy_alone_cpu"] = times.workCpuNs / n / alone;
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

// A redraw whose content changes: the review position steps on by a second each time (over
// thirty seconds, then again), so every run draws the rows, labels and shading anew.
void BM_EntireEcgMovedRedraw(benchmark::State &state)
{
    SimulatedCase &s = simulated();
    CEntired window(s.view, s.review);
    window.Resize(0, 0, Width, Height);
    window.UpdateLayout();
    window.m_nCase = s.slot;
    int step = 0;
    measureAgainstBaseline(state, [&] {
        window.SetPosition(CTimeSpan(s.centreMs / 1000 + step++ % 30));
        window.FillRows(s.slot);
        window.Redraw();
    });
}
BENCHMARK(BM_EntireEcgMovedRedraw)->Unit(benchmark::kMillisecond);

// The enlarged window at the benchmark size showing the case in a view: 0 the 8-second
// view, 1 the 6-second view, 2 the large view.
void showView(CMagnified &window, const SimulatedCase &s, int view)
{
    window.Resize(0, 0, Width, Height);
    window.UpdateLayout();
    window.m_bLargeView = view == 2;
    window.m_bEightSecondView = view == 0;
    window.m_nCase = s.slot;
}

// Argument: the view, as for showView.
void BM_EnlargedEcgRedraw(benchmark::State &state)
{
    SimulatedCase &s = simulated();
    CMagnified window(s.view, s.review);
    showView(window, s, int(state.range(0)));
    window.SetCentreTime(s.centreMs);
    window.FillBuffers(s.slot);
    measureAgainstBaseline(state, [&] { window.Redraw(); });
}
BENCHMARK(BM_EnlargedEcgRedraw)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The first redraw of a window that has drawn nothing yet: the kept layers, the trace's
// stamps and the labels are all made in this run (each iteration gets a new window, made
// with the clock paused). Argument: the view, as for showView.
void BM_EnlargedEcgFirstRedraw(benchmark::State &state)
{
    SimulatedCase &s = simulated();
    std::unique_ptr<CMagnified> window;
    const auto newWindow = [&] {
        window.reset();
        window = std::make_unique<CMagnified>(s.view, s.review);
        showView(*window, s, int(state.range(0)));
        window->SetCentreTime(s.centreMs);
        window->FillBuffers(s.slot);
    };
    newWindow();
    measureAgainstBaseline(state, [&] { window->Redraw(); }, newWindow);
}
BENCHMARK(BM_EnlargedEcgFirstRedraw)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// What the playback step draws every 200 ms: the centre moves on by 200 ms, the view's
// samples are taken again and the picture redrawn (over ten seconds, then again).
void BM_EnlargedEcgPlaybackStep(benchmark::State &state)
{
    SimulatedCase &s = simulated();
    CMagnified window(s.view, s.review);
    showView(window, s, int(state.range(0)));
    window.m_bPlaying = true;
    int step = 0;
    measureAgainstBaseline(state, [&] {
        window.SetCentreTime(s.centreMs + 200 * (step++ % 50));
        window.FillBuffers(s.slot);
        window.Redraw();
    });
}
BENCHMARK(BM_EnlargedEcgPlaybackStep)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace
