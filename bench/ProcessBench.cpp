// Programs measured from outside, each against a baseline run in the same iteration:
// the start-up of the program to its main window against a minimal Qt Widgets window,
// and the command-line import of the 10-hour folder against copying the folder (cp -r).
#include "bench/BenchCases.h"
#include "tools/Simulator.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// Start-up to the main window (RAVELIN_EXIT_WHEN_SHOWN ends either program once its
// window is up), with the peak memory of each.
void BM_StartUpToMainWindow(benchmark::State &state)
{
    const QStringList environment{QStringLiteral("RAVELIN_EXIT_WHEN_SHOWN=1")};
    double minimalNs = 0, programNs = 0, minimalCpuNs = 0, programCpuNs = 0;
    qint64 minimalPeak = 0, programPeak = 0;
    // The program runs from a copy in a folder of its own, with its built-in language pack: the
    // pack deployed beside it in the build folder asks for the language at every start, and
    // the window would never come up unattended.
    QTemporaryDir alone;
    const QString copy = alone.filePath(QStringLiteral("ravelin"));
    if (!QFile::copy(mainProgram(), copy)) {
        state.SkipWithError("the program could not be copied");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        const ChildRun minimal = runChild(minimalWindowProgram(), {}, environment);
        state.ResumeTiming();
        const ChildRun program = runChild(copy, {}, environment);
        if (minimal.exitStatus != 0 || program.exitStatus != 0) {
            state.SkipWithError("a program did not start and end");
            return;
        }
        minimalNs += minimal.ns;
        programNs += program.ns;
        minimalCpuNs += minimal.cpuNs;
        programCpuNs += program.cpuNs;
        minimalPeak = std::max(minimalPeak, minimal.peakBytes);
        programPeak = std::max(programPeak, program.peakBytes);
    }
    state.counters["minimal_ms"] = minimalNs / double(state.iterations()) / 1e6;
    state.counters["x_minimal"] = programNs / minimalNs;
    state.counters["x_minimal_cpu"] = programCpuNs / minimalCpuNs;
    state.counters["minimal_mb"] = double(minimalPeak) / (1024.0 * 1024.0);
    state.counters["program_mb"] = double(programPeak) / (1024.0 * 1024.0);
}
BENCHMARK(BM_StartUpToMainWindow)->Unit(benchmark::kMillisecond)->Iterations(10);

// "ravelin-cli import" of the 10-hour folder to an archive beside it, against "cp -r" of
// the folder, from a fresh folder each time; and against the durable copy, "cp -r" followed
// by "sync" of the copied files, as the import flushes the archive it writes to the disk.
void BM_ImportTenHourFromCommandLine(benchmark::State &state)
{
    static const DeviceFiles::DeviceFolder files = simulateRescue(tenHourOptions());
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("card"));
    const QString copy = dir.filePath(QStringLiteral("copy"));
    const QString archive = dir.filePath(QStringLiteral("card.aed"));
    files.write(folder);
    double copyNs = 0, importNs = 0, copyCpuNs = 0, importCpuNs = 0, syncNs = 0, syncCpuNs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QDir(copy).removeRecursively();
        QFile::remove(archive);
        const ChildRun cp = runChild(QStringLiteral("/bin/cp"), {QStringLiteral("-r"), folder, copy});
        QStringList copied{copy};
        for (const QString &name : QDir(copy).entryList(QDir::Files))
            copied << QDir(copy).filePath(name);
        const ChildRun sync = runChild(QStringLiteral("/bin/sync"), copied);
        syncNs += sync.ns;
        syncCpuNs += sync.cpuNs;
        state.ResumeTiming();
        const ChildRun import = runChild(cliProgram(),
                                         {QStringLiteral("import"), folder, QStringLiteral("--serial"),
                                          QStringLiteral("BENCH"), QStringLiteral("--out"), archive});
        if (cp.exitStatus != 0 || sync.exitStatus != 0 || import.exitStatus != 0) {
            state.SkipWithError("the copy or the import failed");
            return;
        }
        copyNs += cp.ns;
        importNs += import.ns;
        copyCpuNs += cp.cpuNs;
        importCpuNs += import.cpuNs;
    }
    state.counters["copy_ms"] = copyNs / double(state.iterations()) / 1e6;
    state.counters["x_copy"] = importNs / copyNs;
    state.counters["x_copy_cpu"] = importCpuNs / copyCpuNs;
    state.counters["durable_copy_ms"] = (copyNs + syncNs) / double(state.iterations()) / 1e6;
    state.counters["x_durable_copy"] = importNs / (copyNs + syncNs);
    state.counters["x_durable_copy_cpu"] = importCpuNs / (copyCpuNs + syncCpuNs);
}
BENCHMARK(BM_ImportTenHourFromCommandLine)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
