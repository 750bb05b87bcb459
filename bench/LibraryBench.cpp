// The case library: indexing simulated archives measured against opening and decoding the
// same archives without an index; and, over 100 000 rows made directly with a team's review of
// them (1 000 000 audit entries), a filtered list, the monthly summary, the list of one stage
// and reviewer, one recording's history, the first page of the library window and the
// migration of such a library from schema version 4, each against the same baseline, on SQLite
// and (with RAVELIN_PG_URL, scripts/pg-server) PostgreSQL.
#include "archive/AedArchiveWriter.h"
#include "archive/OpenFlow.h"
#include "bench/BenchCases.h"
#include "case/MemoryTreeControl.h"
#include "library/CaseLibrary.h"
#include "library/LibraryIndexer.h"
#include "library/LibraryQaReport.h"
#include "library/ReviewStatusRow.h"
#include "tools/Simulator.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <ctime>
#include <optional>
#include <fcntl.h>
#include <sys/resource.h>
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

// The recording ID of row i of the row libraries: a SHA-256 in hex, as an archive's.
QString recordingOfRow(int i)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(QByteArray::number(i), QCryptographicHash::Sha256).toHex());
}

const CTime FirstRowStart(2020, 1, 1, 8, 0, 0);
constexpr int SecondsBetweenRows = 1577;

// 100 000 case rows over five years and 50 devices, a shock in every third case; from schema
// version 5 on each names its recording, and its hands-off time and shock steps are known (the
// latest version). In the caller's transaction.
void insertCaseRows(const QSqlDatabase &db, bool withRecordings)
{
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral(
        "INSERT INTO cases (path, size_bytes, modified_ms, sha256, model, serial_number, start_time, "
        "start_time_valid, start_day, start_month, duration_ms, event_count, shock_count, analysis_count, "
        "has_cpr_feedback, has_audio, annotation_count, patient_id, last_name, first_name, comments, indexed_at, "
        "ccf, pre_shock_pauses, pre_shock_pauses_at_most_10s%1) "
        "VALUES (?, 1, 1, '', 'Q26', ?, ?, 1, ?, ?, 600000, 40, ?, 2, 1, 1, 0, ?, '', '', '', 1, ?, ?, ?%2)")
                       .arg(withRecordings ? QStringLiteral(", recording_id, hands_off_ms, hands_off_other_ms, "
                                                            "hands_off_breaths_ms, pre_shock_pauses_at_most_20s, "
                                                            "first_analysis_ms, first_shock_ms, first_compression_ms")
                                           : QString(),
                            withRecordings ? QStringLiteral(", ?, 120000 + ?, ?, 120000, ?, ?, ?, ?") : QString()));
    QSqlQuery shock(db);
    shock.prepare(QStringLiteral("INSERT INTO shocks (case_path, shock_index, time_ms, energy_j, "
                                 "pre_shock_pause_ms, post_shock_pause_ms%1) VALUES (?, 0, 60000, 150, ?, 3000%2)")
                      .arg(withRecordings ? QStringLiteral(", analysis_ms, charge_ms, to_shock_ms, "
                                                           "hands_off_pre_shock_pause_ms")
                                          : QString(),
                           withRecordings ? QStringLiteral(", ?, 1500, ?, ?") : QString()));
    for (int i = 0; i < RowCount; ++i) {
        const CTime start = FirstRowStart + CTimeSpan(int64_t(i) * SecondsBetweenRows);
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
        if (withRecordings) {
            insert.addBindValue(recordingOfRow(i));
            insert.addBindValue(qlonglong(i % 60) * 1000);
            insert.addBindValue(qlonglong(i % 13) * 1000);
            insert.addBindValue(shocked && prePauseMs <= 20000 ? 1 : 0);
            insert.addBindValue(qlonglong(20000 + (i % 31) * 1000));
            insert.addBindValue(shocked ? QVariant(qlonglong(60000)) : QVariant(QMetaType::fromType<qlonglong>()));
            insert.addBindValue(qlonglong(5000 + (i % 17) * 1000));
        }
        insert.exec();
        if (shocked) {
            shock.addBindValue(path);
            shock.addBindValue(prePauseMs);
            if (withRecordings) {
                shock.addBindValue(qlonglong(4000 + (i % 7) * 500));
                shock.addBindValue(qlonglong(500 + (i % 11) * 300));
                shock.addBindValue(prePauseMs);
            }
            shock.exec();
        }
    }
}

constexpr int Reviewers = 20;
constexpr int AuditEntriesPerRecording = 10;

// The review of a team over the rows: every recording at one of the four stages and assigned
// to one of 20 reviewers (each stage and reviewer together about 1 250 recordings), and ten
// audit entries per recording, a recording's entries spread over the whole trail as a team's
// work interleaves them (1 000 000 rows). Made by the engine from the case rows, in the
// caller's transaction.
bool insertReviewRows(const QSqlDatabase &db)
{
    using Stage = ReviewStatus::Stage;
    // The row's number, from its start time.
    const QString row = QStringLiteral("((c.start_time - %1) / %2)").arg(FirstRowStart.GetTime()).arg(SecondsBetweenRows);
    const QString reviewer = QStringLiteral("'reviewer ' || ((%1 / 4) % %2)").arg(row).arg(Reviewers);
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("INSERT INTO review_status (recording_id, status, note, assignee, changed_by, "
                               "changed_host, changed_at, reviewed_by, reviewed_at) "
                               "SELECT c.recording_id, CASE %1 % 4 WHEN 0 THEN '%2' WHEN 1 THEN '%3' WHEN 2 THEN '%4' "
                               "ELSE '%5' END, '', %6, %6, 'host', c.start_time, '', NULL FROM cases c")
                    .arg(row, reviewStageKey(Stage::New), reviewStageKey(Stage::InReview),
                         reviewStageKey(Stage::Reviewed), reviewStageKey(Stage::FollowUp), reviewer)))
        return false;
    QStringList entries;
    const char *actions[] = {AuditAction::Imported, AuditAction::Opened, AuditAction::FieldChanged,
                             AuditAction::AnnotationAdded, AuditAction::StatusChanged, AuditAction::Saved,
                             AuditAction::Opened, AuditAction::ReviewMarksChanged, AuditAction::Exported,
                             AuditAction::StatusChanged};
    for (int k = 0; k < AuditEntriesPerRecording; ++k)
        entries << QStringLiteral("SELECT %1 AS k, '%2' AS action").arg(k).arg(QLatin1String(actions[k]));
    return q.exec(QStringLiteral("INSERT INTO audit (at_ms, reviewer, host, recording_id, archive_path, action, details) "
                                 "SELECT c.start_time * 1000 + n.k * 3600000, %1, 'host', c.recording_id, c.path, "
                                 "n.action, '' FROM (%2) n CROSS JOIN cases c ORDER BY n.k, c.start_time")
                      .arg(reviewer, entries.join(QStringLiteral(" UNION ALL "))));
}

// The PostgreSQL server of RAVELIN_PG_URL, or none.
std::optional<LibraryLocation> serverLocation()
{
    LibraryLocation location;
    QString why;
    if (qEnvironmentVariableIsEmpty("RAVELIN_PG_URL")
        || !parseLibraryLocation(qEnvironmentVariable("RAVELIN_PG_URL"), location, why))
        return std::nullopt;
    return location;
}

// A library of 100 000 rows with a team's review of them (see insertCaseRows and
// insertReviewRows), written in one transaction and measured by the engine.
class RowLibrary
{
public:
    explicit RowLibrary(bool postgres)
    {
        if (postgres) {
            const std::optional<LibraryLocation> server = serverLocation();
            if (!server)
                return;
            m_location = *server;
        } else {
            m_location.sqliteFile = m_dir.filePath(QStringLiteral("library.sqlite"));
        }
        m_library = std::make_unique<CaseLibrary>(m_location);
        if (!m_library->open()) {
            m_library.reset();
            return;
        }
        // A server keeps its tables from run to run, and the audit trail refuses to be emptied:
        // the library is made anew.
        if (postgres) {
            QSqlQuery drop(m_library->database());
            drop.exec(QStringLiteral("DROP TABLE audit, review_locks, review_status, shocks, cases, schema_version"));
            drop.exec(QStringLiteral("DROP FUNCTION audit_append_only()"));
            drop.finish();
            if (!m_library->open()) {
                m_library.reset();
                return;
            }
        }
        QSqlQuery q(m_library->database());
        q.exec(QStringLiteral("BEGIN"));
        insertCaseRows(m_library->database(), true);
        if (!insertReviewRows(m_library->database()) || !q.exec(QStringLiteral("COMMIT"))) {
            m_library.reset();
            return;
        }
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

// The largest the process has been, in kB.
long peakRssKb()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The QA report's figures of the 100 000 rows (its summary of all of them, by month, by device
// and the recordings that need attention), against "library stats" by month in the same run.
// Its memory does not grow with the rows: a server finds the quartiles and medians itself, with
// SQLite each group keeps only the values at their places as a column's values go by in their
// order, and the list of recordings to look at keeps its most recent
// LibraryQaReport::AttentionLimit.
void BM_QaReport100k(benchmark::State &state)
{
    CaseLibrary *library = rows(state.range(0) == 1).library();
    if (!library) {
        state.SkipWithError("no PostgreSQL server (RAVELIN_PG_URL)");
        return;
    }
    std::vector<LibraryStatsRow> months;
    QElapsedTimer clock;
    clock.start();
    library->stats(LibraryGrouping::Month, LibraryFilter(), months);
    const double statsNs = double(clock.nsecsElapsed());
    const long rssBefore = peakRssKb();
    LibraryQaReport report;
    double reportNs = 0;
    for (auto _ : state) {
        clock.restart();
        if (!readLibraryQaReport(*library, LibraryFilter(), 0.8, report))
            state.SkipWithError(library->errorText().toStdString().c_str());
        reportNs += double(clock.nsecsElapsed());
    }
    reportNs /= double(state.iterations());
    state.counters["ms"] = reportNs / 1e6;
    state.counters["bar_ms"] = 2000;
    state.counters["stats_ms"] = statsNs / 1e6;
    state.counters["x_stats"] = reportNs / statsNs;
    // Where the time goes: each of the report's requests once more.
    std::vector<LibraryStatsRow> part;
    const auto timed = [&clock](const auto &request) {
        clock.restart();
        request();
        return double(clock.nsecsElapsed()) / 1e6;
    };
    state.counters["all_ms"] = timed([&] { library->stats(LibraryGrouping::All, LibraryFilter(), part); });
    state.counters["months_ms"] = timed([&] { library->stats(LibraryGrouping::Month, LibraryFilter(), part); });
    state.counters["devices_ms"] = timed([&] { library->stats(LibraryGrouping::Device, LibraryFilter(), part); });
    int total = 0;
    std::vector<LibraryCase> listed;
    state.counters["attention_ms"] = timed([&] { library->needingAttention(LibraryFilter(), 0.8, 200, listed, total); });
    state.counters["attention_listed"] = double(report.attention.size());
    state.counters["attention_total"] = report.attentionTotal;
    state.counters["peak_rss_growth_kb"] = double(peakRssKb() - rssBefore);
}
BENCHMARK(BM_QaReport100k)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// The baseline of the library's benchmarks, as BM_IndexArchives measures it: opening every
// archive of the set as "Load AED File" does, without an index. Measured once per run.
double openOnlyNs()
{
    static const double ns = [] {
        archives();
        BenchView t;
        MemoryTreeControl tree;
        QElapsedTimer clock;
        clock.start();
        openAll(t, tree);
        return double(clock.nsecsElapsed());
    }();
    return ns;
}

// Counters of a library request: its time per iteration and the bar it is to keep, in ms, the
// baseline in ms and the request's time as a share of it.
void reportAgainstOpenOnly(benchmark::State &state, double workNs, double barMs)
{
    const double perIterationNs = workNs / double(state.iterations());
    state.counters["ms"] = perIterationNs / 1e6;
    state.counters["bar_ms"] = barMs;
    state.counters["open_only_ms"] = openOnlyNs() / 1e6;
    state.counters["x_open_only"] = perIterationNs / openOnlyNs();
}

// Runs request once per iteration and sums its wall time.
template <typename Request>
double timeRequests(benchmark::State &state, Request &&request)
{
    double ns = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        request();
        ns += double(clock.nsecsElapsed());
    }
    return ns;
}

CaseLibrary *rowLibraryOrSkip(benchmark::State &state)
{
    CaseLibrary *library = rows(state.range(0) == 1).library();
    if (!library)
        state.SkipWithError(state.range(0) == 1 ? "no PostgreSQL server (RAVELIN_PG_URL)" : "the library was not made");
    return library;
}

// "ravelin-cli library list --status S --assignee NAME": the stage of the second argument
// (new, whose recordings may have no status row, or reviewed) and one of the 20 reviewers.
void BM_ListStageAndAssignee100k(benchmark::State &state)
{
    openOnlyNs();
    CaseLibrary *library = rowLibraryOrSkip(state);
    if (!library)
        return;
    LibraryFilter filter;
    filter.stage = ReviewStatus::Stage(state.range(1));
    filter.assignee = QStringLiteral("reviewer 7");
    std::vector<LibraryCase> cases;
    const double ns = timeRequests(state, [&] { library->list(filter, cases); });
    state.counters["rows"] = double(cases.size());
    reportAgainstOpenOnly(state, ns, 100);
}
BENCHMARK(BM_ListStageAndAssignee100k)
    ->ArgsProduct({{0, 1}, {int(ReviewStatus::Stage::New), int(ReviewStatus::Stage::Reviewed)}})
    ->Unit(benchmark::kMillisecond);

// One recording's history out of the 1 000 000 audit entries.
void BM_RecordingHistory1M(benchmark::State &state)
{
    openOnlyNs();
    CaseLibrary *library = rowLibraryOrSkip(state);
    if (!library)
        return;
    AuditQuery query;
    query.recordingId = recordingOfRow(54321);
    std::vector<AuditEntry> entries;
    const double ns = timeRequests(state, [&] { library->auditEntries(query, entries); });
    state.counters["entries"] = double(entries.size());
    reportAgainstOpenOnly(state, ns, 5);
}
BENCHMARK(BM_RecordingHistory1M)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The first page of the library window: the first 200 rows in the default order, with their
// review, as the window's model asks for them.
bool firstPage(CaseLibrary &library, int pageRows, int &read)
{
    std::vector<LibraryCase> page;
    if (!library.listPage(LibraryFilter(), 0, pageRows, page))
        return false;
    read = int(page.size());
    return true;
}

void BM_LibraryWindowFirstPage100k(benchmark::State &state)
{
    openOnlyNs();
    CaseLibrary *library = rowLibraryOrSkip(state);
    if (!library)
        return;
    int read = 0;
    bool ok = true;
    const double ns = timeRequests(state, [&] { ok = firstPage(*library, 200, read) && ok; });
    if (!ok)
        state.SkipWithError("the page was refused");
    state.counters["rows"] = read;
    reportAgainstOpenOnly(state, ns, 300);
}
BENCHMARK(BM_LibraryWindowFirstPage100k)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A library of schema version 4 with the 100 000 case rows, from which each migration starts:
// a SQLite file that is copied, or a server database that is the template of a new one.
class OldLibrary
{
public:
    static constexpr const char *ServerTemplate = "ravelin_bench_schema4";
    static constexpr const char *ServerCopy = "ravelin_bench_migrating";

    explicit OldLibrary(bool postgres)
    {
        if (postgres) {
            const std::optional<LibraryLocation> server = serverLocation();
            if (!server)
                return;
            m_location = *server;
            if (!admin(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(QLatin1String(ServerTemplate)))
                || !admin(QStringLiteral("CREATE DATABASE %1").arg(QLatin1String(ServerTemplate))))
                return;
            m_location.database = QLatin1String(ServerTemplate);
        } else {
            m_location.sqliteFile = m_dir.filePath(QStringLiteral("schema4.sqlite"));
        }
        CaseLibrary library(m_location);
        if (!library.open(4))
            return;
        QSqlQuery q(library.database());
        q.exec(QStringLiteral("BEGIN"));
        insertCaseRows(library.database(), false);
        m_made = q.exec(QStringLiteral("COMMIT"))
                 && q.exec(postgres ? QStringLiteral("VACUUM ANALYZE") : QStringLiteral("ANALYZE"));
    }

    ~OldLibrary()
    {
        if (m_location.engine == LibraryLocation::Engine::Postgres && !m_location.database.isEmpty())
            for (const char *database : {ServerCopy, ServerTemplate})
                admin(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(QLatin1String(database)));
    }
    OldLibrary(const OldLibrary &) = delete;
    OldLibrary &operator=(const OldLibrary &) = delete;

    bool made() const { return m_made; }

    // A new copy of the library to migrate.
    std::optional<LibraryLocation> copy()
    {
        LibraryLocation location = m_location;
        if (location.engine == LibraryLocation::Engine::Postgres) {
            if (!admin(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(QLatin1String(ServerCopy)))
                || !admin(QStringLiteral("CREATE DATABASE %1 TEMPLATE %2")
                              .arg(QLatin1String(ServerCopy), QLatin1String(ServerTemplate))))
                return std::nullopt;
            location.database = QLatin1String(ServerCopy);
        } else {
            location.sqliteFile = m_dir.filePath(QStringLiteral("copy%1.sqlite").arg(++m_copies));
            if (!QFile::copy(m_location.sqliteFile, location.sqliteFile))
                return std::nullopt;
        }
        return location;
    }

private:
    // A statement outside the library's database (made and dropped databases), through a
    // library on the server's own database.
    bool admin(const QString &sql)
    {
        if (!m_admin) {
            m_admin = std::make_unique<CaseLibrary>(*serverLocation());
            if (!m_admin->open())
                return false;
        }
        return QSqlQuery(m_admin->database()).exec(sql);
    }

    std::unique_ptr<CaseLibrary> m_admin;
    QTemporaryDir m_dir;
    LibraryLocation m_location;
    int m_copies = 0;
    bool m_made = false;
};

// Opening a library of schema version 4 with 100 000 cases: its migration to version 5, in
// one transaction.
void BM_MigrateSchema4To5_100k(benchmark::State &state)
{
    openOnlyNs();
    const bool postgres = state.range(0) == 1;
    if (postgres && !serverLocation()) {
        state.SkipWithError("no PostgreSQL server (RAVELIN_PG_URL)");
        return;
    }
    OldLibrary old(postgres);
    if (!old.made()) {
        state.SkipWithError("the library of version 4 was not made");
        return;
    }
    double ns = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::optional<LibraryLocation> location = old.copy();
        if (!location) {
            state.SkipWithError("the library of version 4 could not be copied");
            break;
        }
        state.ResumeTiming();
        QElapsedTimer clock;
        clock.start();
        {
            CaseLibrary library(*location);
            if (!library.open(5) || library.schemaVersion() != 5)
                state.SkipWithError("the migration failed");
            ns += double(clock.nsecsElapsed());
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
    reportAgainstOpenOnly(state, ns, 30000);
}
BENCHMARK(BM_MigrateSchema4To5_100k)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
