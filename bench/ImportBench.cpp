// The import of device folders, measured against copying the same files in the same run
// (absolute times vary from machine to machine; the ratio does not): one simulated 10-hour
// recording, and a folder scan of many short ones. The copy is a plain one (each file read
// whole and written, as cp does); the import's side includes syncing every archive it writes.
#include "base/BinaryReader.h"
#include "archive/FolderScan.h"
#include "archive/OpenFlow.h"
#include "bench/BenchCases.h"
#include "case/MemoryTreeControl.h"
#include "device/ScanFileList.h"
#include "tools/Simulator.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int ScanFolderCount = 100;

void syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// A session with a case tree, as the program has it, importing in directory mode (no dialog).
struct ImportingView
{
    LanguagePack texts;
    QuietPlatform platform;
    MemoryTreeControl tree; // outlives the session that points to it
    CaseSession view{texts, platform};

    ImportingView()
    {
        texts.loadBuiltIn();
        texts.setLanguage(1);
        view.setTree(&tree);
        view.state.serialNumber = QStringLiteral("BENCH");
        view.state.directoryMode = 1;
    }
};

// The device folders of a run, kept in memory so that every iteration starts from the same
// files on disk.
struct DeviceTree
{
    QTemporaryDir dir;
    std::vector<std::pair<QString, DeviceFiles::DeviceFolder>> folders;

    // Writes every folder again, with nothing an earlier import left beside it.
    void restore() const
    {
        for (const auto &[path, folder] : folders) {
            QDir(path).removeRecursively();
            folder.write(path);
        }
    }

    // Copies every file of the folders into a fresh copy folder; returns the bytes copied.
    // A durable copy also flushes each file and the folder to the disk, as the import does
    // with the archive it writes.
    qint64 copyAll(bool durable = false) const
    {
        const QString target = dir.filePath(durable ? QStringLiteral("durable-copy") : QStringLiteral("copy"));
        QDir(target).removeRecursively();
        QDir().mkpath(target);
        qint64 bytes = 0;
        int n = 0;
        for (const auto &[path, folder] : folders) {
            for (const QString &name : QDir(path).entryList(QDir::Files)) {
                const QByteArray data = BinaryReader::readWholeFile(QDir(path).filePath(name));
                QFile out(QDir(target).filePath(QString::number(n++)));
                if (out.open(QIODevice::WriteOnly)) {
                    out.write(data);
                    if (durable && out.flush())
                        ::fsync(out.handle());
                }
                bytes += data.size();
            }
        }
        if (durable)
            syncFolder(target);
        return bytes;
    }
};

const DeviceTree &tenHourRecording()
{
    static const DeviceTree tree = [] {
        DeviceTree t;
        SimulationOptions options;
        options.minutes = 600;
        options.audio = false;
        t.folders.emplace_back(t.dir.filePath(QStringLiteral("card")), simulateRescue(options));
        return t;
    }();
    return tree;
}

const DeviceTree &manyShortRecordings()
{
    static const DeviceTree tree = [] {
        DeviceTree t;
        for (int i = 0; i < ScanFolderCount; ++i) {
            SimulationOptions options;
            options.model = DeviceFiles::Model::Q25;
            options.minutes = 4;
            options.audio = false;
            options.seed = uint32_t(i + 1);
            t.folders.emplace_back(t.dir.filePath(QStringLiteral("root/%1").arg(i)), simulateRescue(options));
        }
        return t;
    }();
    return tree;
}

// Runs work once per iteration after restoring the device files, with the copy of the
// same files timed beside it, plain and durable; counters give the copies' times and the
// ratios (x_copy against the plain copy, x_durable_copy against the durable one).
template <typename Work>
void measureAgainstCopy(benchmark::State &state, const DeviceTree &tree, Work work)
{
    double copyNs = 0;
    double workNs = 0;
    double copyCpuNs = 0;
    double workCpuNs = 0;
    double durableNs = 0;
    double durableCpuNs = 0;
    qint64 bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        tree.restore();
        QElapsedTimer copy;
        const double copyCpu = processCpuNs();
        copy.start();
        bytes += tree.copyAll();
        copyNs += double(copy.nsecsElapsed());
        copyCpuNs += processCpuNs() - copyCpu;
        QElapsedTimer durable;
        const double durableCpu = processCpuNs();
        durable.start();
        tree.copyAll(true);
        durableNs += double(durable.nsecsElapsed());
        durableCpuNs += processCpuNs() - durableCpu;
        ImportingView importing;
        state.ResumeTiming();

        QElapsedTimer timer;
        const double workCpu = processCpuNs();
        timer.start();
        work(importing.view);
        workNs += double(timer.nsecsElapsed());
        workCpuNs += processCpuNs() - workCpu;
    }
    state.SetBytesProcessed(bytes);
    state.counters["copy_ms"] = copyNs / double(state.iterations()) / 1e6;
    state.counters["x_copy"] = workNs / copyNs;
    state.counters["x_copy_cpu"] = workCpuNs / copyCpuNs;
    state.counters["durable_copy_ms"] = durableNs / double(state.iterations()) / 1e6;
    state.counters["x_durable_copy"] = workNs / durableNs;
    state.counters["x_durable_copy_cpu"] = workCpuNs / durableCpuNs;
}

// The whole import of the 10-hour folder: decoding, the archive written and read back, the
// event list, and the device files erased.
void BM_ImportTenHourRecording(benchmark::State &state)
{
    const DeviceTree &tree = tenHourRecording();
    measureAgainstCopy(state, tree, [&](CaseSession &view) {
        view.state.mifFolderPath = tree.folders.front().first;
        view.state.deviceModel = ModelNone;
        view.store.setTempFilePresent(view.store.nextCaseSlot(), 1);
        if (OpenFlow(view).ImportMifFolder() != OpenFlow::Outcome::Opened)
            state.SkipWithError("the import failed");
    });
}
BENCHMARK(BM_ImportTenHourRecording)->Unit(benchmark::kMillisecond)->Iterations(3);

// A folder scan importing every one of the short recordings.
void BM_FolderScanOfDeviceFolders(benchmark::State &state)
{
    const DeviceTree &tree = manyShortRecordings();
    const QString root = tree.dir.filePath(QStringLiteral("root"));
    measureAgainstCopy(state, tree, [&](CaseSession &view) {
        view.state.scanFiles = ScanFileList::collectFiles(root);
        view.state.scanFolders = ScanFileList::distinctFolders(view.state.scanFiles);
        view.state.foldersPerPage = int32_t(view.state.scanFolders.size());
        FolderScan(view).ScanFolders();
        if (view.store.slotCount() != ScanFolderCount)
            state.SkipWithError("not every folder was imported");
    });
    state.counters["folders"] = ScanFolderCount;
}
BENCHMARK(BM_FolderScanOfDeviceFolders)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
