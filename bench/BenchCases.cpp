#include "bench/BenchCases.h"

#include "device/AudioRecordFile.h"
#include "tools/DeviceFolderWriter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <ctime>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

int importAndDecode(CaseSession &view)
{
    view.store.setTempFilePresent(view.store.nextCaseSlot(), 1);
    view.store.scratchFileSet.SetPaths(view.state.mifFolderPath, view.state.deviceModel);
    MifCase::LoadFiles(view.store, view.store.scratchFileSet, 0, view.platform());
    view.store.scratchFileSet.SplitTrendBlocks();
    const int slot = MifCase::CreateCaseFromMif(view);
    view.store.at(slot).tempLoaded = 1;
    MifCase::DecodeCaseData(view.store, slot, view.texts(), view.state.deviceModel, view.state.modelIndex);
    return slot;
}

SimulationOptions tenHourOptions()
{
    SimulationOptions options;
    options.minutes = 600;
    options.audio = false;
    return options;
}

bool writeTenHourSound(const QString &folder)
{
    QDir().mkpath(folder);
    QByteArray samples(TenHourSoundSamples, Qt::Uninitialized);
    for (qint64 i = 0; i < samples.size(); ++i)
        samples[i] = char(128 + int((i / 20) % 16) - 8);
    QFile out(QDir(folder).filePath(AudioRecordFile::binFileName()));
    if (!out.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bin = DeviceFiles::encodeAudioRecord(1500, samples);
    return out.write(bin) == bin.size();
}

namespace ResidentMemory {

namespace {
// A "Vm...:   1234 kB" line of /proc/self/status, in bytes.
qint64 statusBytes(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return -1;
}
} // namespace

bool resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

qint64 nowBytes() { return statusBytes("VmRSS:"); }
qint64 peakBytes() { return statusBytes("VmHWM:"); }

} // namespace ResidentMemory

namespace {
QString programFrom(const char *variable, const char *built)
{
    const QString named = qEnvironmentVariable(variable);
    return named.isEmpty() ? QString::fromLocal8Bit(built) : named;
}
} // namespace

QString cliProgram() { return programFrom("RAVELIN_BENCH_CLI", RAVELIN_CLI); }
QString mainProgram() { return programFrom("RAVELIN_BENCH_PROGRAM", RAVELIN_PROGRAM); }
QString minimalWindowProgram() { return programFrom("RAVELIN_BENCH_MINIMAL_WINDOW", RAVELIN_MINIMAL_WINDOW); }

double processCpuNs()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e9 + double(t.tv_nsec);
}

ChildRun runChild(const QString &program, const QStringList &arguments, const QStringList &environment)
{
    QTemporaryDir dir;
    const QString report = dir.filePath(QStringLiteral("peak"));
    std::vector<QByteArray> argStore{"/usr/bin/time", "-f", "%M", "-o", QFile::encodeName(report),
                                     QFile::encodeName(program)};
    for (const QString &a : arguments)
        argStore.push_back(a.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &a : argStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    std::vector<QByteArray> envStore;
    for (char **e = environ; *e; ++e)
        envStore.emplace_back(*e);
    for (const QString &e : environment)
        envStore.push_back(e.toLocal8Bit());
    std::vector<char *> envp;
    for (QByteArray &e : envStore)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);

    ChildRun run;
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return run;
    int status = 0;
    struct rusage usage {};
    while (wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR)
            return run;
    }
    run.ns = double(timer.nsecsElapsed());
    run.cpuNs = (double(usage.ru_utime.tv_sec) + double(usage.ru_stime.tv_sec)) * 1e9
        + (double(usage.ru_utime.tv_usec) + double(usage.ru_stime.tv_usec)) * 1e3;
    QFile peak(report);
    if (peak.open(QIODevice::ReadOnly))
        run.peakBytes = peak.readAll().trimmed().split('\n').last().toLongLong() * 1024;
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

void reportMemory(benchmark::State &state, qint64 overBytes, qint64 ecgBytes, const char *prefix)
{
    const std::string p(prefix);
    constexpr double MB = 1024.0 * 1024.0;
    state.counters[p + "_mb"] = double(overBytes) / MB;
    state.counters[p + "_goal_mb"] = memoryGoalBytes(ecgBytes) / MB;
    state.counters[p + "_x_ecg"] = double(overBytes) / double(ecgBytes);
    state.counters[p + "_x_goal"] = double(overBytes) / memoryGoalBytes(ecgBytes);
}
