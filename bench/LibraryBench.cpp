// The case library: indexing simulated archives measured against opening and decoding the
// same archives without an index, and a filtered list and the monthly summary over 100 000
// rows made directly, on SQLite and (with RAVELIN_PG_URL, scripts/pg-server) PostgreSQL.
#include "archive/AedArchiveWriter.h"
#include "archive/OpenFlow.h"
#include "bench/BenchCases.h"
#include "case/MemoryTreeControl.h"
#include "library/CaseLibrary.h"
#include "library/LibraryIndexer.h"
#include "tools/Simulator.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr int ArchiveCount = 2000;
constexpr int RowCount = 100000;

// 2 000 archives of one simulated five-minute rescue (without sound), each under a name of
// its own in one folder with the rescue's CPR feedback, made once per run.
struct ArchiveSet
{
    RecordingFolder recording{[] {
        SimulationOptions options;
        options.audio = false;
        return simulateRescue(options);
    }()};
    QStringList paths;

    ArchiveSet()
    {
        BenchView t;
        t.view.state.mifFolderPath = recording.folder;
        t.view.state.serialNumber = QStringLiteral("BENCH");
        t.view.store.setTempFilePresent(t.view.store.nextCaseSlot(), 1);
        const int slot = MifCase::CreateCaseFromMif(t.view);
        const QString first = recording.folder + QStringLiteral("/Q26_0000.aed");
        WriteAedArchive(t.view.store, slot, first, AedArchiveVariant::Conversion);
        paths << first;
        for (int i = 1; i < ArchiveCount; ++i) {
            paths << recording.folder + QStringLiteral("/Q26_%1.aed").arg(i, 4, 10, QLatin1Char('0'));
            QFile::copy(first, paths.last());
        }
        // As a folder of archives that has been there a while: its modification dated back.
        const timespec times[2] = {{0, UTIME_OMIT}, {::time(nullptr) - 3600, 0}};
        ::utimensat(AT_FDCWD, QFile::encodeName(recording.folder).constData(), times, 0);
    }
};

const ArchiveSet &archives()
{
    static const ArchiveSet set;
    return set;
}

// Every archive opened as "Load AED File" opens it, then closed.
void openAll(BenchView &t, MemoryTreeControl &tree)
{
    t.view.setTree(&tree);
    for (const QString &path : archives().paths) {
        OpenFlow flow(t.view);
        flow.OpenArchiveFile(path);
        t.view.ClearCaseTree();
        t.view.store.FreeAllCases();
    }
}

void BM_IndexArchives(benchmark::State &state)
{
    archives();
    PairedTimes times;
    for (auto _ : state) {
        QTemporaryDir dir;
        BenchView t;
        MemoryTreeControl tree;
        QElapsedTimer clock;
        clock.start();
        openAll(t, tree);
        times.baselineNs += double(clock.nsecsElapsed());

        LibraryLocation location;
        location.sqliteFile = dir.filePath(QStringLiteral("library.sqlite"));
        CaseLibrary library(location);
        library.open();
        LibraryIndexer indexer(library, t.texts);
        clock.restart();
        const LibraryAddSummary summary = indexer.addAll(archives().paths);
        times.workNs += double(clock.nsecsElapsed());
        if (summary.added != ArchiveCount)
            state.SkipWithError("not every archive was indexed");
    }
    state.counters["openOnlyMs"] = times.baselineNs / 1e6 / double(state.iterations());
    state.counters["indexMs"] = times.workNs / 1e6 / double(state.iterations());
    state.counters["ratio"] = times.workNs / times.baselineNs;
}
BENCHMARK(BM_IndexArchives)->Unit(benchmark::kSecond)->Iterations(1);

// A library of 100 000 rows over five years and 50 devices, a shock in every third case.
class RowLibrary
{
public:
    explicit RowLibrary(bool postgres)
    {
        if (postgres) {
            QString why;
            if (qEnvironmentVariableIsEmpty("RAVELIN_PG_URL")
                || !parseLibraryLocation(qEnvironmentVariable("RAVELIN_PG_URL"), m_location, why))
                return;
        } else {
            m_location.sqliteFile = m_dir.filePath(QStringLiteral("library.sqlite"));
        }
        m_library = std::make_unique<CaseLibrary>(m_location);
        if (!m_library->open()) {
            m_library.reset();
            return;
        }
        QSqlQuery q(m_library->database());
        // A server keeps its tables from run to run: emptied whole, they are not left half dead.
        if (postgres) {
            q.exec(QStringLiteral("TRUNCATE shocks, cases"));
        } else {
            q.exec(QStringLiteral("DELETE FROM shocks"));
            q.exec(QStringLiteral("DELETE FROM cases"));
        }
        q.exec(QStringLiteral("BEGIN"));
        QSqlQuery insert(m_library->database());
        insert.prepare(QStringLiteral(
            "INSERT INTO cases (path, size_bytes, modified_ms, sha256, model, serial_number, start_time, "
            "start_time_valid, start_day, start_month, duration_ms, event_count, shock_count, analysis_count, "
            "has_cpr_feedback, has_audio, annotation_count, patient_id, last_name, first_name, comments, indexed_at, "
            "ccf, pre_shock_pauses, pre_shock_pauses_at_most_10s) "
            "VALUES (?, 1, 1, '', 'Q26', ?, ?, 1, ?, ?, 600000, 40, ?, 2, 1, 1, 0, ?, '', '', '', 1, ?, ?, ?)"));
        QSqlQuery shock(m_library->database());
        shock.prepare(QStringLiteral("INSERT INTO shocks (case_path, shock_index, time_ms, energy_j, "
                                     "pre_shock_pause_ms, post_shock_pause_ms) VALUES (?, 0, 60000, 150, ?, 3000)"));
        const CTime first(2020, 1, 1, 8, 0, 0);
        for (int i = 0; i < RowCount; ++i) {
            const CTime start = first + CTimeSpan(int64_t(i) * 1577);
            const QString path = QStringLiteral("/cases/%1.aed").arg(i);
            const bool shocked = i % 3 == 0;
            const qlonglong prePauseMs = 2000 + (i % 20) * 1000;
            insert.addBindValue(path);
            insert.addBindValue(QStringLiteral("SN%1").arg(i % 50));
            insert.addBindValue(qlonglong(start.GetTime()));
            insert.addBindValue(start.Format("%Y-%m-%d"));
            insert.addBindValue(start.Format("%Y-%m"));
            insert.addBindValue(shocked ? 1 : 0);
            insert.addBindValue(QStringLiteral("P%1").arg(i));
            insert.addBindValue(0.5 + 0.5 * double(i % 97) / 97.0);
            insert.addBindValue(shocked ? 1 : 0);
            insert.addBindValue(shocked && prePauseMs <= 10000 ? 1 : 0);
            insert.exec();
            if (shocked) {
                shock.addBindValue(path);
                shock.addBindValue(prePauseMs);
                shock.exec();
            }
        }
        q.exec(QStringLiteral("COMMIT"));
        // A server's autovacuum has long since measured a table this size and marked its pages
        // visible, which its index-only scans need.
        q.exec(postgres ? QStringLiteral("VACUUM ANALYZE") : QStringLiteral("ANALYZE"));
    }

    CaseLibrary *library() const { return m_library.get(); }

private:
    QTemporaryDir m_dir;
    LibraryLocation m_location;
    std::unique_ptr<CaseLibrary> m_library;
};

RowLibrary &rows(bool postgres)
{
    static RowLibrary sqlite(false);
    static RowLibrary server(true);
    return postgres ? server : sqlite;
}

void BM_ListFiltered100k(benchmark::State &state)
{
    CaseLibrary *library = rows(state.range(0) == 1).library();
    if (!library) {
        state.SkipWithError("no PostgreSQL server (RAVELIN_PG_URL)");
        return;
    }
    LibraryFilter filter;
    filter.fromDay = QStringLiteral("2021-01-01");
    filter.toDay = QStringLiteral("2021-12-31");
    filter.ccfBelow = 0.8;
    filter.minShocks = 1;
    filter.sort = LibraryFilter::Sort::Ccf;
    std::vector<LibraryCase> cases;
    for (auto _ : state)
        library->list(filter, cases);
    state.counters["rows"] = double(cases.size());
}
BENCHMARK(BM_ListFiltered100k)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_MonthlyStats100k(benchmark::State &state)
{
    CaseLibrary *library = rows(state.range(0) == 1).library();
    if (!library) {
        state.SkipWithError("no PostgreSQL server (RAVELIN_PG_URL)");
        return;
    }
    std::vector<LibraryStatsRow> months;
    for (auto _ : state)
        library->stats(LibraryGrouping::Month, LibraryFilter(), months);
    state.counters["months"] = double(months.size());
}
BENCHMARK(BM_MonthlyStats100k)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
