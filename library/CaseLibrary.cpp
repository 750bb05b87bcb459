#include "library/CaseLibrary.h"
#include "library/ReviewStatusRow.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QHash>
#include <algorithm>
#include <array>
#include <map>
#include <cmath>
#include <atomic>
#include <limits>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The columns of a case row, in the order of LibraryCase's fields.
const QStringList &caseColumns()
{
    static const QStringList columns = {
        QStringLiteral("path"), QStringLiteral("size_bytes"), QStringLiteral("modified_ms"), QStringLiteral("sha256"),
        QStringLiteral("model"), QStringLiteral("serial_number"), QStringLiteral("start_time"),
        QStringLiteral("start_time_valid"), QStringLiteral("start_day"), QStringLiteral("start_month"),
        QStringLiteral("duration_ms"), QStringLiteral("event_count"), QStringLiteral("shock_count"),
        QStringLiteral("analysis_count"), QStringLiteral("has_cpr_feedback"), QStringLiteral("has_audio"),
        QStringLiteral("annotation_count"), QStringLiteral("patient_id"), QStringLiteral("last_name"),
        QStringLiteral("first_name"), QStringLiteral("comments"), QStringLiteral("ccf"), QStringLiteral("mean_rate"),
        QStringLiteral("rate_in_target"), QStringLiteral("mean_depth_in"), QStringLiteral("depth_in_target"),
        QStringLiteral("longest_pause_ms"), QStringLiteral("max_pre_shock_pause_ms"),
        QStringLiteral("max_post_shock_pause_ms"), QStringLiteral("indexed_at"), QStringLiteral("recording_id")};
    return columns;
}

// A typed NULL: the server's driver needs the type of every value it sends.
template <typename T>
QVariant valueOf(const std::optional<T> &v)
{
    return v ? QVariant::fromValue(*v) : QVariant(QMetaType::fromType<T>());
}

// An empty text, never a null one: the drivers send a null QString as NULL.
QString text(const QString &s)
{
    return s.isNull() ? QString(QLatin1String("")) : s;
}

QList<QVariant> caseValues(const LibraryCase &c)
{
    return {text(c.path), qlonglong(c.sizeBytes), qlonglong(c.modifiedMs), text(c.sha256), text(c.model),
            text(c.serialNumber), qlonglong(c.startTime), int(c.startTimeValid), text(c.startDay), text(c.startMonth), qlonglong(c.durationMs),
            c.eventCount, c.shockCount, c.analysisCount, int(c.hasCprFeedback), int(c.hasAudio), c.annotationCount,
            text(c.patientId), text(c.lastName), text(c.firstName), text(c.comments), valueOf(c.ccf), valueOf(c.meanRatePerMin),
            valueOf(c.rateInTarget), valueOf(c.meanDepthIn), valueOf(c.depthInTarget), valueOf(c.longestPauseMs),
            valueOf(c.maxPreShockPauseMs), valueOf(c.maxPostShockPauseMs), qlonglong(c.indexedAt), text(c.recordingId)};
}

std::optional<double> optionalDouble(const QVariant &v)
{
    return v.isNull() ? std::nullopt : std::optional<double>(v.toDouble());
}

std::optional<int64_t> optionalInt(const QVariant &v)
{
    return v.isNull() ? std::nullopt : std::optional<int64_t>(v.toLongLong());
}

LibraryCase caseOfRow(const QSqlQuery &q)
{
    LibraryCase c;
    int i = 0;
    c.path = q.value(i++).toString();
    c.sizeBytes = q.value(i++).toLongLong();
    c.modifiedMs = q.value(i++).toLongLong();
    c.sha256 = q.value(i++).toString();
    c.model = q.value(i++).toString();
    c.serialNumber = q.value(i++).toString();
    c.startTime = q.value(i++).toLongLong();
    c.startTimeValid = q.value(i++).toInt() != 0;
    c.startDay = q.value(i++).toString();
    c.startMonth = q.value(i++).toString();
    c.durationMs = q.value(i++).toLongLong();
    c.eventCount = q.value(i++).toInt();
    c.shockCount = q.value(i++).toInt();
    c.analysisCount = q.value(i++).toInt();
    c.hasCprFeedback = q.value(i++).toInt() != 0;
    c.hasAudio = q.value(i++).toInt() != 0;
    c.annotationCount = q.value(i++).toInt();
    c.patientId = q.value(i++).toString();
    c.lastName = q.value(i++).toString();
    c.firstName = q.value(i++).toString();
    c.comments = q.value(i++).toString();
    c.ccf = optionalDouble(q.value(i++));
    c.meanRatePerMin = optionalDouble(q.value(i++));
    c.rateInTarget = optionalDouble(q.value(i++));
    c.meanDepthIn = optionalDouble(q.value(i++));
    c.depthInTarget = optionalDouble(q.value(i++));
    c.longestPauseMs = optionalInt(q.value(i++));
    c.maxPreShockPauseMs = optionalInt(q.value(i++));
    c.maxPostShockPauseMs = optionalInt(q.value(i++));
    c.indexedAt = q.value(i++).toLongLong();
    c.recordingId = q.value(i++).toString();
    return c;
}

// The counts of a case's shocks the summary reads from the case row: those with a known
// pre-shock pause, and those of them at most 10 s and at most 20 s; then the times from
// power-on to its first analysis, shock and compression.
const QStringList &pauseCountColumns()
{
    static const QStringList columns = {QStringLiteral("pre_shock_pauses"), QStringLiteral("pre_shock_pauses_at_most_10s"),
                                        QStringLiteral("pre_shock_pauses_at_most_20s"), QStringLiteral("first_analysis_ms"),
                                        QStringLiteral("first_shock_ms"), QStringLiteral("first_compression_ms")};
    return columns;
}

QList<QVariant> pauseCountValues(const LibraryCase &c)
{
    int known = 0, atMost10s = 0, atMost20s = 0;
    for (const LibraryShock &s : c.shocks) {
        if (s.preShockPauseMs) {
            ++known;
            atMost10s += *s.preShockPauseMs <= 10000 ? 1 : 0;
            atMost20s += *s.preShockPauseMs <= 20000 ? 1 : 0;
        }
    }
    std::optional<int64_t> firstShockMs;
    if (!c.shocks.empty())
        firstShockMs = std::min_element(c.shocks.begin(), c.shocks.end(), [](const LibraryShock &a, const LibraryShock &b) {
                           return a.timeMs < b.timeMs;
                       })->timeMs;
    return {known, atMost10s, atMost20s, valueOf(c.firstAnalysisMs), valueOf(firstShockMs), valueOf(c.firstCompressionMs)};
}

// The hands-off time of a case by cause, then the version of the facts the row holds.
QList<QVariant> handsOffValues(const LibraryCase &c)
{
    QList<QVariant> values;
    if (const auto &byCause = c.handsOffByCauseMs) {
        qlonglong total = 0;
        for (int64_t ms : *byCause)
            total += ms;
        values << total;
        for (int64_t ms : *byCause)
            values << qlonglong(ms);
    } else {
        for (qsizetype i = 0; i < LibrarySchema::handsOffColumns().size(); ++i)
            values << QVariant(QMetaType::fromType<qlonglong>());
    }
    return values << LibrarySchema::FactsVersion;
}

// Every column a stored case writes: its fields, its shocks' pause counts, its hands-off time
// and the version of its facts.
QStringList writtenColumns()
{
    return caseColumns() + pauseCountColumns() + LibrarySchema::handsOffColumns() << QStringLiteral("facts_version");
}

QList<QVariant> writtenValues(const LibraryCase &c)
{
    return caseValues(c) + pauseCountValues(c) + handsOffValues(c);
}

QString upsertStatement()
{
    QStringList placeholders, updates;
    for (const QString &column : writtenColumns()) {
        placeholders << QStringLiteral("?");
        if (column != QLatin1String("path"))
            updates << column + QStringLiteral(" = excluded.") + column;
    }
    return QStringLiteral("INSERT INTO cases (%1) VALUES (%2) ON CONFLICT (path) DO UPDATE SET %3")
        .arg(writtenColumns().join(QStringLiteral(", ")), placeholders.join(QStringLiteral(", ")),
             updates.join(QStringLiteral(", ")));
}

// The group of a case as SQL: the month of its start in the filter's zone, or its device.
QString groupColumn(LibraryGrouping grouping, const LibraryFilter &filter, bool postgres)
{
    return grouping == LibraryGrouping::Month ? libraryMonthSql(filter.zoneOffsetMinutes, postgres)
                                              : QStringLiteral("c.serial_number");
}

// A column whose quartiles a summary row gives, of the cases or of their shocks: quartile 1,
// 2 (the median) or 3 and the member it goes to, up to three of them.
struct QuantileColumn
{
    QString sql;
    bool ofShocks = false;
    std::array<std::pair<int, std::optional<double> LibraryStatsRow::*>, 3> quartiles{};
};

// The quartiles' columns, in the order of their counts in a group's GroupCounts.
const std::array<QuantileColumn, 7> &quantileColumns()
{
    static const std::array<QuantileColumn, 7> columns = {{
        {QStringLiteral("c.ccf"), false,
         {{{1, &LibraryStatsRow::lowerQuartileCcf}, {2, &LibraryStatsRow::medianCcf},
           {3, &LibraryStatsRow::upperQuartileCcf}}}},
        {QStringLiteral("c.first_analysis_ms"), false, {{{2, &LibraryStatsRow::medianToFirstAnalysisMs}}}},
        {QStringLiteral("c.first_shock_ms"), false, {{{2, &LibraryStatsRow::medianToFirstShockMs}}}},
        {QStringLiteral("c.first_compression_ms"), false, {{{2, &LibraryStatsRow::medianToFirstCompressionMs}}}},
        {QStringLiteral("s.analysis_ms"), true, {{{2, &LibraryStatsRow::medianAnalysisMs}}}},
        {QStringLiteral("s.to_shock_ms"), true, {{{2, &LibraryStatsRow::medianToShockMs}}}},
        {QStringLiteral("s.hands_off_pre_shock_pause_ms"), true, {{{2, &LibraryStatsRow::medianPreShockPauseMs}}}},
    }};
    return columns;
}

// A server's quartiles of the columns of the cases or of their shocks (ofShocks), as its own
// aggregates, in the order of the columns and their quartiles: the same interpolation between
// the two neighbouring values as QuantileWalk's.
QStringList serverQuantiles(bool ofShocks)
{
    QStringList out;
    for (const QuantileColumn &column : quantileColumns())
        if (column.ofShocks == ofShocks)
            for (const auto &[quarters, target] : column.quartiles)
                if (target)
                    out << QStringLiteral("percentile_cont(%1) WITHIN GROUP (ORDER BY %2)")
                               .arg(QString::number(double(quarters) / 4), column.sql);
    return out;
}

// Sets the quartiles serverQuantiles gives from the query's columns from first on.
void takeServerQuantiles(bool ofShocks, const QSqlQuery &q, int first, LibraryStatsRow &row)
{
    for (const QuantileColumn &column : quantileColumns())
        if (column.ofShocks == ofShocks)
            for (const auto &[quarters, target] : column.quartiles)
                if (target)
                    row.*target = optionalDouble(q.value(first++));
}

// The place (from 1) of the value below the quantile quarters / 4 of count values in their
// order, the quantile lying weight of the way from it to the next.
int quantilePlace(int count, int quarters)
{
    return (count - 1) * quarters / 4 + 1;
}

double quantileWeight(int count, int quarters)
{
    return double((count - 1) * quarters % 4) / 4;
}

// One group's walk through a column's values in their order: how many it has (known before),
// how many have gone by, and the few at the quartiles' places.
struct QuantileWalk
{
    int count = 0;
    int seen = 0;
    std::map<int, double> values;

    void take(double value, const QuantileColumn &column)
    {
        ++seen;
        for (const auto &[quarters, target] : column.quartiles) {
            if (!target)
                continue;
            const int place = quantilePlace(count, quarters);
            if (seen == place || seen == place + 1) {
                values[seen] = value;
                return;
            }
        }
    }

    void finish(const QuantileColumn &column, LibraryStatsRow &row) const
    {
        if (count == 0)
            return;
        for (const auto &[quarters, target] : column.quartiles) {
            if (!target)
                continue;
            const auto low = values.find(quantilePlace(count, quarters));
            const auto high = values.find(quantilePlace(count, quarters) + 1);
            if (low != values.end())
                row.*target = low->second
                              + (high != values.end() ? quantileWeight(count, quarters) * (high->second - low->second)
                                                      : 0.0);
        }
    }
};

QString newConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("ravelin-library-%1").arg(++counter);
}

// How many paths one request for fingerprints names.
constexpr int PathsPerRequest = 200;

QString fingerprintStatement(int paths)
{
    QStringList placeholders;
    for (int i = 0; i < paths; ++i)
        placeholders << QStringLiteral("?");
    return QStringLiteral("SELECT path, size_bytes, modified_ms, sha256, recording_id, facts_version FROM cases "
                          "WHERE path IN (%1)")
        .arg(placeholders.join(QStringLiteral(", ")));
}

} // namespace

// The writes of indexing, prepared once per connection: a server then plans them once.
struct CaseLibrary::Statements
{
    explicit Statements(const QSqlDatabase &db) : upsert(db), deleteShocks(db), insertShock(db), fingerprints(db) {}

    QSqlQuery upsert;
    QSqlQuery deleteShocks;
    QSqlQuery insertShock;
    QSqlQuery fingerprints; // PathsPerRequest paths
    QString error;          // why one of them could not be prepared
};

CaseLibrary::CaseLibrary(const LibraryLocation &location) : m_location(location), m_connection(newConnectionName()) {}

CaseLibrary::~CaseLibrary()
{
    m_statements.reset();
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isValid())
            db.close();
    }
    if (QSqlDatabase::contains(m_connection))
        QSqlDatabase::removeDatabase(m_connection);
}

namespace {

// Gives path the mode when it is looser; "" when it is private now, else why not.
QString tighten(const QString &path, mode_t mode)
{
    struct stat info {};
    const QByteArray native = QFile::encodeName(path);
    if (::stat(native.constData(), &info) != 0)
        return qt_error_string(errno);
    if ((info.st_mode & 0777 & ~mode) == 0)
        return QString();
    if (info.st_uid != ::getuid())
        return QStringLiteral("it belongs to another user");
    return ::chmod(native.constData(), mode) == 0 ? QString() : qt_error_string(errno);
}

} // namespace

QString CaseLibrary::makePrivate(const QString &file, bool ownFolder)
{
    // A new file is private from its first byte; SQLite takes an empty file for an empty database.
    const int fd = ::open(QFile::encodeName(file).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd >= 0)
        ::close(fd);
    QStringList why;
    const QString folder = QFileInfo(file).absolutePath();
    if (const QString folderWhy = ownFolder ? tighten(folder, S_IRWXU) : QString(); !folderWhy.isEmpty())
        why << QStringLiteral("its folder \"%1\" stays open to others: %2").arg(QDir::toNativeSeparators(folder), folderWhy);
    if (const QString fileWhy = tighten(file, S_IRUSR | S_IWUSR); !fileWhy.isEmpty())
        why << QStringLiteral("the file stays open to others: %1").arg(fileWhy);
    if (why.isEmpty())
        return QString();
    return QStringLiteral("the case library \"%1\" holds patient data, but %2")
        .arg(m_location.displayName(), why.join(QStringLiteral("; ")));
}

bool CaseLibrary::fail(const QString &what, const QString &detail)
{
    m_error = QStringLiteral("the case library \"%1\" %2").arg(m_location.displayName(), what);
    if (!detail.trimmed().isEmpty())
        m_error += QStringLiteral(": ") + detail.trimmed();
    return false;
}

bool CaseLibrary::run(QSqlQuery &q, const QList<QVariant> &values)
{
    for (int i = 0; i < int(values.size()); ++i)
        q.bindValue(i, values[i]);
    if (!q.exec())
        return fail(QStringLiteral("refused a request"), q.lastError().text());
    return true;
}

CaseLibrary::Statements &CaseLibrary::statements()
{
    if (!m_statements) {
        m_statements = std::make_unique<Statements>(database());
        Statements &st = *m_statements;
        const auto prepare = [&st](QSqlQuery &q, const QString &sql) {
            if (!q.prepare(sql) && st.error.isEmpty())
                st.error = q.lastError().text();
        };
        prepare(st.upsert, upsertStatement());
        prepare(st.deleteShocks, QStringLiteral("DELETE FROM shocks WHERE case_path = ?"));
        prepare(st.insertShock, QStringLiteral("INSERT INTO shocks (case_path, shock_index, time_ms, energy_j, "
                                               "pre_shock_pause_ms, post_shock_pause_ms, analysis_ms, charge_ms, to_shock_ms, "
                                               "hands_off_pre_shock_pause_ms) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        st.fingerprints.setForwardOnly(true);
        prepare(st.fingerprints, fingerprintStatement(PathsPerRequest));
    }
    return *m_statements;
}

bool CaseLibrary::exec(const QString &sql, const QList<QVariant> &values)
{
    QSqlQuery q(database());
    if (!q.prepare(sql))
        return fail(QStringLiteral("refused a request"), q.lastError().text());
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec())
        return fail(QStringLiteral("refused a request"), q.lastError().text());
    return true;
}

// SQLite takes the write lock at the start, so that two writers wait for each other instead
// of one failing when it upgrades a read lock.
bool CaseLibrary::begin()
{
    QSqlQuery q(database());
    const bool sqlite = m_location.engine == LibraryLocation::Engine::Sqlite;
    if (!q.exec(sqlite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN")))
        return fail(QStringLiteral("cannot start a transaction"), q.lastError().text());
    return true;
}

// A snapshot for several reads: what one request finds, the next sees unchanged.
bool CaseLibrary::beginRead()
{
    QSqlQuery q(database());
    const bool sqlite = m_location.engine == LibraryLocation::Engine::Sqlite;
    if (!q.exec(sqlite ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ")))
        return fail(QStringLiteral("cannot be read"), q.lastError().text());
    return true;
}

bool CaseLibrary::commit()
{
    QSqlQuery q(database());
    if (!q.exec(QStringLiteral("COMMIT"))) {
        const QString why = q.lastError().text();
        rollback();
        return fail(QStringLiteral("cannot save a change"), why);
    }
    return true;
}

void CaseLibrary::rollback()
{
    QSqlQuery q(database());
    q.exec(QStringLiteral("ROLLBACK"));
}

bool CaseLibrary::open(int schemaVersion)
{
    m_open = false;
    m_error.clear();
    m_statements.reset();
    const bool sqlite = m_location.engine == LibraryLocation::Engine::Sqlite;
    const QString driver = sqlite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL");
    if (!QSqlDatabase::isDriverAvailable(driver))
        return fail(QStringLiteral("cannot be used"), QStringLiteral("the Qt SQL driver %1 is not installed").arg(driver));
    QSqlDatabase db = QSqlDatabase::contains(m_connection) ? QSqlDatabase::database(m_connection, false)
                                                           : QSqlDatabase::addDatabase(driver, m_connection);
    if (sqlite) {
        const QFileInfo file(m_location.sqliteFile);
        // The folder is the library's own when it is made now or is the default library's; a
        // folder the user keeps other files in keeps its mode.
        const bool ownFolder = !QFileInfo::exists(file.absolutePath())
                               || QFileInfo(defaultLibraryFile()).absolutePath() == file.absolutePath();
        if (!QDir().mkpath(file.absolutePath()))
            return fail(QStringLiteral("cannot be made"), QStringLiteral("the folder cannot be created"));
        m_privacyWarning = makePrivate(file.absoluteFilePath(), ownFolder);
        db.setDatabaseName(file.absoluteFilePath());
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=30000"));
    } else {
        db.setHostName(m_location.host);
        if (m_location.port > 0)
            db.setPort(m_location.port);
        db.setUserName(m_location.user);
        db.setDatabaseName(m_location.database);
        if (!m_location.password.isEmpty())
            db.setPassword(m_location.password);
        QString options = m_location.connectOptions;
        if (!options.contains(QLatin1String("connect_timeout")))
            options += QLatin1String(options.isEmpty() ? "" : ";") + QStringLiteral("connect_timeout=10");
        db.setConnectOptions(options);
    }
    if (!db.open())
        return fail(QStringLiteral("cannot be reached"), db.lastError().text());

    QSqlQuery q(db);
    if (sqlite) {
        // The first statement reads the file: one that is not a database stops here, untouched.
        if (!q.exec(QStringLiteral("PRAGMA journal_mode = WAL")))
            return fail(QStringLiteral("cannot be read"), q.lastError().text());
        q.exec(QStringLiteral("PRAGMA foreign_keys = ON"));
        q.exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
    }
    if (!migrate(schemaVersion))
        return false;
    m_open = true;
    return true;
}

bool CaseLibrary::migrate(int schemaVersion)
{
    if (!begin())
        return false;
    QSqlQuery q(database());
    // Two programs opening a new server library at once make its tables once.
    if (m_location.engine == LibraryLocation::Engine::Postgres
        && !q.exec(QStringLiteral("SELECT pg_advisory_xact_lock(7417001)"))) {
        rollback();
        return fail(QStringLiteral("cannot be locked"), q.lastError().text());
    }
    int version = 0;
    if (database().tables().contains(QStringLiteral("schema_version"))) {
        if (!q.exec(QStringLiteral("SELECT version FROM schema_version")) || !q.next()) {
            const QString why = q.lastError().text();
            rollback();
            return fail(QStringLiteral("has no readable schema version"), why);
        }
        version = q.value(0).toInt();
    }
    if (version > LibrarySchema::LatestVersion) {
        rollback();
        return fail(QStringLiteral("was made by a newer version of the program (schema %1, this program knows %2)")
                        .arg(version)
                        .arg(LibrarySchema::LatestVersion),
                    QString());
    }
    for (int step = version + 1; step <= schemaVersion; ++step) {
        for (const QString &sql : LibrarySchema::migrationStep(step, m_location.engine == LibraryLocation::Engine::Postgres)) {
            if (!q.exec(sql)) {
                const QString why = q.lastError().text();
                rollback();
                return fail(QStringLiteral("cannot be brought to schema version %1").arg(step), why);
            }
        }
        version = step;
    }
    if (!commit())
        return false;
    m_version = version;
    return true;
}

bool CaseLibrary::fingerprint(const QString &path, std::optional<Fingerprint> &stored)
{
    stored.reset();
    QHash<QString, Fingerprint> found;
    if (!fingerprints({path}, found))
        return false;
    if (const auto it = found.constFind(path); it != found.constEnd())
        stored = *it;
    return true;
}

bool CaseLibrary::fingerprints(const QStringList &paths, QHash<QString, Fingerprint> &stored)
{
    stored.clear();
    Statements &st = statements();
    if (!st.error.isEmpty())
        return fail(QStringLiteral("refused a request"), st.error);
    for (qsizetype first = 0; first < paths.size(); first += PathsPerRequest) {
        const QStringList chunk = paths.mid(first, PathsPerRequest);
        QSqlQuery last(database());
        QSqlQuery *q = &st.fingerprints;
        if (chunk.size() < PathsPerRequest) {
            last.setForwardOnly(true);
            if (!last.prepare(fingerprintStatement(int(chunk.size()))))
                return fail(QStringLiteral("cannot be read"), last.lastError().text());
            q = &last;
        }
        for (int i = 0; i < int(chunk.size()); ++i)
            q->bindValue(i, chunk[i]);
        if (!q->exec())
            return fail(QStringLiteral("cannot be read"), q->lastError().text());
        while (q->next())
            stored.insert(q->value(0).toString(),
                          Fingerprint{q->value(1).toLongLong(), q->value(2).toLongLong(), q->value(3).toString(),
                                      q->value(4).toString(), q->value(5).toInt() >= LibrarySchema::FactsVersion});
        q->finish();
    }
    return true;
}

bool CaseLibrary::store(const LibraryCase &c)
{
    return storeAll({&c, 1});
}

bool CaseLibrary::storeAll(std::span<const LibraryCase> cases)
{
    Statements &st = statements();
    if (!st.error.isEmpty())
        return fail(QStringLiteral("refused a request"), st.error);
    if (!begin())
        return false;
    bool ok = true;
    for (std::size_t k = 0; ok && k < cases.size(); ++k) {
        const LibraryCase &c = cases[k];
        ok = run(st.upsert, writtenValues(c)) && run(st.deleteShocks, {c.path});
        for (std::size_t i = 0; ok && i < c.shocks.size(); ++i) {
            const LibraryShock &s = c.shocks[i];
            ok = run(st.insertShock, {c.path, int(i), s.timeMs, valueOf(s.energyJ), valueOf(s.preShockPauseMs),
                                      valueOf(s.postShockPauseMs), valueOf(s.analysisMs), valueOf(s.chargeMs),
                                      valueOf(s.toShockMs), valueOf(s.handsOffPreShockPauseMs)});
        }
    }
    if (!ok) {
        rollback();
        return false;
    }
    return commit();
}

bool CaseLibrary::analyze()
{
    return exec(QStringLiteral("ANALYZE cases")) && exec(QStringLiteral("ANALYZE shocks"));
}

bool CaseLibrary::list(const LibraryFilter &filter, std::vector<LibraryCase> &cases)
{
    return listPage(filter, 0, -1, cases);
}

bool CaseLibrary::listPage(const LibraryFilter &filter, int offset, int limit, std::vector<LibraryCase> &cases)
{
    cases.clear();
    QStringList columns;
    for (const QString &column : caseColumns())
        columns << QStringLiteral("c.") + column;
    columns << reviewStatusColumns();
    LibraryWhere where = libraryWhere(filter);
    // The order is total (ties go by path), so consecutive pages neither repeat nor skip a row.
    QString page;
    if (limit >= 0 || offset > 0) {
        page = QStringLiteral(" LIMIT ? OFFSET ?");
        where.values << qlonglong(limit >= 0 ? limit : std::numeric_limits<int>::max()) << qlonglong(std::max(offset, 0));
    }
    QSqlQuery q(database());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT ") + columns.join(QStringLiteral(", ")) + QStringLiteral(" FROM cases c")
              + libraryReviewJoin(filter, true) + where.sql + libraryOrderBy(filter) + page);
    for (const QVariant &v : where.values)
        q.addBindValue(v);
    if (!q.exec())
        return fail(QStringLiteral("cannot be read"), q.lastError().text());
    while (q.next()) {
        cases.push_back(caseOfRow(q));
        LibraryCase &c = cases.back();
        c.review = reviewStatusOfRow(q, int(caseColumns().size()));
        // The stored days are the device clock's; a list shows those of the filter's zone.
        if (c.startTimeValid && filter.zoneOffsetMinutes != DeviceClockOffsetMinutes) {
            c.startDay = libraryDayOf(c.startTime, filter.zoneOffsetMinutes);
            c.startMonth = c.startDay.left(7);
        }
    }
    return true;
}

bool CaseLibrary::shocksOf(const QString &path, std::vector<LibraryShock> &shocks)
{
    shocks.clear();
    QSqlQuery q(database());
    q.prepare(QStringLiteral("SELECT time_ms, energy_j, pre_shock_pause_ms, post_shock_pause_ms, analysis_ms, "
                             "charge_ms, to_shock_ms, hands_off_pre_shock_pause_ms FROM shocks "
                             "WHERE case_path = ? ORDER BY shock_index"));
    q.addBindValue(path);
    if (!q.exec())
        return fail(QStringLiteral("cannot be read"), q.lastError().text());
    while (q.next())
        shocks.push_back({q.value(0).toInt(), optionalDouble(q.value(1)), optionalInt(q.value(2)),
                          optionalInt(q.value(3)), optionalInt(q.value(4)), optionalInt(q.value(5)),
                          optionalInt(q.value(6)), optionalInt(q.value(7))});
    return true;
}

bool CaseLibrary::stats(LibraryGrouping grouping, const LibraryFilter &filter, std::vector<LibraryStatsRow> &rows,
                        double ccfTarget)
{
    return stats({{grouping, &rows}}, filter, ccfTarget);
}

bool CaseLibrary::stats(const std::vector<std::pair<LibraryGrouping, std::vector<LibraryStatsRow> *>> &groupings,
                        const LibraryFilter &filter, double ccfTarget)
{
    const bool postgres = m_location.engine == LibraryLocation::Engine::Postgres;
    // Each grouping's key as SQL ('' for all cases), its rows and where each group's row is.
    struct Grouped
    {
        bool all = false;
        bool device = false;
        QString key;
        std::vector<LibraryStatsRow> *rows = nullptr;
        QHash<QString, std::size_t> rowOf;
        // Per row, the walk through the values of each quantile column.
        std::vector<std::array<QuantileWalk, 7>> walks;

        std::size_t rowOfKey(const QVariant &value) const
        {
            if (all)
                return 0;
            const auto at = rowOf.constFind(value.toString());
            return at == rowOf.constEnd() ? rows->size() : *at;
        }
    };
    std::vector<Grouped> grouped;
    for (const auto &[grouping, rows] : groupings) {
        rows->clear();
        Grouped g;
        g.all = grouping == LibraryGrouping::All;
        g.device = grouping == LibraryGrouping::Device;
        const QString group = groupColumn(grouping, filter, postgres);
        // A device's cases lie all over the table: the groups are read in the table's order and
        // sorted, not looked up one by one through the serial numbers' index.
        g.key = g.all                                   ? QStringLiteral("''")
                : g.device                            ? group + QStringLiteral(" || ''")
                                                      : group;
        g.rows = rows;
        grouped.push_back(std::move(g));
    }
    const LibraryWhere where = libraryWhere(filter);
    if (!beginRead())
        return false;
    const auto failRead = [this](const QString &why) {
        rollback();
        return fail(QStringLiteral("cannot be read"), why);
    };
    const auto select = [&where](QSqlQuery &q, const QString &sql) {
        q.setForwardOnly(true);
        q.prepare(sql);
        for (int i = 0; i < int(where.values.size()); ++i)
            q.bindValue(i, where.values[i]);
        return q.exec();
    };
    const auto finishRead = [this, &grouped] {
        rollback(); // only read
        // Every engine orders the groups by its own collation; the summary orders them the same
        // way everywhere.
        for (Grouped &g : grouped)
            std::sort(g.rows->begin(), g.rows->end(),
                      [](const LibraryStatsRow &a, const LibraryStatsRow &b) { return a.group < b.group; });
        return true;
    };

    // The counts of every group in one pass over the index that starts with its column (all
    // cases make one group, also when there are none).
    QStringList handsOffSums;
    for (const QString &column : LibrarySchema::handsOffColumns())
        handsOffSums << QStringLiteral("SUM(c.%1)").arg(column);
    const int depthColumn = 11 + int(handsOffSums.size());
    for (Grouped &g : grouped) {
        QSqlQuery groups(database());
        if (!select(groups,
                    QStringLiteral("SELECT %1, COUNT(*), SUM(c.shock_count), COUNT(c.ccf), "
                                   "SUM(CASE WHEN c.ccf >= %2 THEN 1 ELSE 0 END), SUM(c.pre_shock_pauses), "
                                   "SUM(c.pre_shock_pauses_at_most_10s), SUM(c.pre_shock_pauses_at_most_20s), "
                                   "SUM(c.hands_off_other_ms), %3, COUNT(c.hands_off_ms), %4, AVG(c.mean_depth_in), "
                                   "COUNT(c.first_analysis_ms), COUNT(c.first_shock_ms), COUNT(c.first_compression_ms)%8 "
                                   "FROM cases c%5%6%7")
                        .arg(g.key, QString::number(ccfTarget, 'g', 17),
                             g.device ? QStringLiteral("MAX(c.model)") : QStringLiteral("''"),
                             handsOffSums.join(QStringLiteral(", ")), libraryReviewJoin(filter), where.sql,
                             g.all ? QString() : QStringLiteral(" GROUP BY ") + g.key,
                             postgres ? QStringLiteral(", ") + serverQuantiles(false).join(QStringLiteral(", "))
                                      : QString())))
            return failRead(groups.lastError().text());
        std::vector<LibraryStatsRow> &rows = *g.rows;
        while (groups.next()) {
            LibraryStatsRow row;
            row.group = groups.value(0).toString();
            row.cases = groups.value(1).toInt();
            row.shocks = groups.value(2).toInt();
            row.casesWithCcf = groups.value(3).toInt();
            if (row.casesWithCcf > 0)
                row.shareCcfAtTarget = groups.value(4).toDouble() / row.casesWithCcf;
            if (const int pauses = groups.value(5).toInt(); pauses > 0) {
                row.shareShocksPreShockPauseAtMost10s = groups.value(6).toDouble() / pauses;
                row.shareShocksPreShockPauseAtMost20s = groups.value(7).toDouble() / pauses;
            }
            row.model = groups.value(9).toString();
            // Cases indexed before the hands-off time was kept add to none of the sums.
            if (groups.value(10).toInt() > 0) {
                row.handsOffMs = groups.value(11).toLongLong();
                std::array<int64_t, PauseCauseCount> byCause{};
                for (std::size_t k = 0; k < PauseCauseCount; ++k)
                    byCause[k] = groups.value(12 + int(k)).toLongLong();
                row.handsOffByCauseMs = byCause;
                if (*row.handsOffMs > 0)
                    row.shareHandsOffOther = groups.value(8).toDouble() / double(*row.handsOffMs);
            }
            if (const QVariant depth = groups.value(depthColumn); !depth.isNull())
                row.meanDepthIn = depth.toDouble();
            std::array<QuantileWalk, 7> walks;
            walks[0].count = row.casesWithCcf;
            for (int k = 1; k < 4; ++k)
                walks[std::size_t(k)].count = groups.value(depthColumn + k).toInt();
            if (postgres)
                takeServerQuantiles(false, groups, depthColumn + 4, row);
            g.rowOf.insert(row.group, rows.size());
            rows.push_back(row);
            g.walks.push_back(walks);
        }
    }

    // The keys of the groupings with groups, as columns of one read.
    QStringList keys;
    for (const Grouped &g : grouped)
        keys << g.key;
    const QString keyColumns = keys.join(QStringLiteral(", "));
    const QString terms = where.sql.isEmpty() ? QStringLiteral(" WHERE ") : where.sql + QStringLiteral(" AND ");
    const QString shocksJoin = QStringLiteral(" JOIN shocks s ON s.case_path = c.path");

    // A server sorts each group's values itself and hands over only its quartiles; the shocks'
    // medians take one read of the shocks by each grouping.
    if (postgres) {
        for (Grouped &g : grouped) {
            QSqlQuery steps(database());
            if (!select(steps, QStringLiteral("SELECT %1, %2 FROM cases c%3%4%5%6")
                                   .arg(g.key, serverQuantiles(true).join(QStringLiteral(", ")), shocksJoin,
                                        libraryReviewJoin(filter), where.sql,
                                        g.all ? QString() : QStringLiteral(" GROUP BY ") + g.key)))
                return failRead(steps.lastError().text());
            while (steps.next())
                if (const std::size_t i = g.rowOfKey(steps.value(0)); i < g.rows->size())
                    takeServerQuantiles(true, steps, 1, (*g.rows)[i]);
        }
        return finishRead();
    }

    // How many values of each step the shocks of each group have, from one read of the shocks
    // counted by every grouping's group together.
    {
        QStringList groupBy;
        for (const Grouped &g : grouped)
            if (!g.all)
                groupBy << g.key;
        QSqlQuery counts(database());
        if (!select(counts, QStringLiteral("SELECT %1, COUNT(s.analysis_ms), COUNT(s.to_shock_ms), "
                                           "COUNT(s.hands_off_pre_shock_pause_ms) FROM cases c%2%3%4%5")
                                .arg(keyColumns, shocksJoin, libraryReviewJoin(filter), where.sql,
                                     groupBy.isEmpty() ? QString()
                                                       : QStringLiteral(" GROUP BY ") + groupBy.join(QStringLiteral(", ")))))
            return failRead(counts.lastError().text());
        const int stepsAt = int(grouped.size());
        while (counts.next())
            for (std::size_t gi = 0; gi < grouped.size(); ++gi) {
                Grouped &g = grouped[gi];
                const std::size_t i = g.rowOfKey(counts.value(int(gi)));
                if (i < g.rows->size())
                    for (int k = 0; k < 3; ++k)
                        g.walks[i][std::size_t(4 + k)].count += counts.value(stepsAt + k).toInt();
            }
        counts.finish();
    }

    // The quartiles and medians: each column's values in their order in one read for every
    // grouping, each group keeping only the one or two values at its quartiles' places, so no
    // value list is held here. The values are sorted, not read in the order of their column's
    // index ("+" keeps it out): going from the index to each row costs four times the sort.
    for (std::size_t c = 0; c < quantileColumns().size(); ++c) {
        const QuantileColumn &column = quantileColumns()[c];
        QSqlQuery values(database());
        if (!select(values, QStringLiteral("SELECT %1, +%2 FROM cases c%3%4%5+%2 IS NOT NULL ORDER BY +%2")
                                .arg(keyColumns, column.sql, column.ofShocks ? shocksJoin : QString(),
                                     libraryReviewJoin(filter), terms)))
            return failRead(values.lastError().text());
        const int valueAt = int(grouped.size());
        while (values.next()) {
            const double value = values.value(valueAt).toDouble();
            for (std::size_t gi = 0; gi < grouped.size(); ++gi) {
                Grouped &g = grouped[gi];
                const std::size_t i = g.rowOfKey(values.value(int(gi)));
                if (i < g.rows->size())
                    g.walks[i][c].take(value, column);
            }
        }
        values.finish();
        for (Grouped &g : grouped)
            for (std::size_t i = 0; i < g.rows->size(); ++i)
                g.walks[i][c].finish(column, (*g.rows)[i]);
    }
    return finishRead();
}

bool CaseLibrary::needingAttention(const LibraryFilter &filter, double ccfTarget, int limit,
                                   std::vector<LibraryCase> &cases, int &total)
{
    cases.clear();
    total = 0;
    LibraryWhere where = libraryWhere(filter);
    // The case's own measures first; the recordings whose review asks for a follow-up are
    // gathered once, not looked up case by case.
    const QString needs = (where.sql.isEmpty() ? QStringLiteral(" WHERE ") : where.sql + QStringLiteral(" AND "))
                          + QStringLiteral("(c.ccf < ? OR c.max_pre_shock_pause_ms > ? OR (c.recording_id <> '' AND "
                                           "c.recording_id IN (SELECT f.recording_id FROM review_status f "
                                           "WHERE f.status = ?)))");
    where.values << ccfTarget << qlonglong(AttentionPreShockPauseMs) << reviewStageKey(ReviewStatus::Stage::FollowUp);
    const QString from = QStringLiteral(" FROM cases c") + libraryReviewJoin(filter) + needs;
    const QString listed = QStringLiteral(" FROM cases c") + libraryReviewJoin(filter, true) + needs;
    if (!beginRead())
        return false;
    QSqlQuery q(database());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT COUNT(*)") + from);
    for (const QVariant &v : where.values)
        q.addBindValue(v);
    if (!q.exec() || !q.next()) {
        const QString why = q.lastError().text();
        rollback();
        return fail(QStringLiteral("cannot be read"), why);
    }
    total = q.value(0).toInt();
    q.finish();

    QStringList columns;
    for (const QString &column : caseColumns())
        columns << QStringLiteral("c.") + column;
    columns << reviewStatusColumns();
    QSqlQuery latest(database());
    latest.setForwardOnly(true);
    latest.prepare(QStringLiteral("SELECT ") + columns.join(QStringLiteral(", ")) + listed
                   + QStringLiteral(" ORDER BY c.start_time DESC, c.path LIMIT ?"));
    for (const QVariant &v : where.values)
        latest.addBindValue(v);
    latest.addBindValue(std::max(limit, 0));
    if (!latest.exec()) {
        const QString why = latest.lastError().text();
        rollback();
        return fail(QStringLiteral("cannot be read"), why);
    }
    while (latest.next()) {
        cases.push_back(caseOfRow(latest));
        cases.back().review = reviewStatusOfRow(latest, int(caseColumns().size()));
    }
    latest.finish();
    rollback(); // only read
    return true;
}

bool CaseLibrary::paths(QStringList &out)
{
    out.clear();
    QSqlQuery q(database());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT path FROM cases ORDER BY path")))
        return fail(QStringLiteral("cannot be read"), q.lastError().text());
    while (q.next())
        out << q.value(0).toString();
    return true;
}

bool CaseLibrary::remove(const QStringList &removed)
{
    if (removed.isEmpty())
        return true;
    if (!begin())
        return false;
    for (const QString &path : removed) {
        if (!exec(QStringLiteral("DELETE FROM shocks WHERE case_path = ?"), {path})
            || !exec(QStringLiteral("DELETE FROM cases WHERE path = ?"), {path})) {
            rollback();
            return false;
        }
    }
    return commit();
}
