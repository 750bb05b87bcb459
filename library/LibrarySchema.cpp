#include "library/LibrarySchema.h"

#include "cpr/HandsOff.h"

#include <utility>

namespace LibrarySchema {

namespace {

// Types every engine reads the same way: BIGINT and INTEGER are 64 and 32 bit on the
// server and integers in SQLite; flags are 0 or 1.
QStringList version1()
{
    return {
        QStringLiteral("CREATE TABLE schema_version (version INTEGER NOT NULL)"),
        QStringLiteral("INSERT INTO schema_version (version) VALUES (0)"),
        QStringLiteral("CREATE TABLE cases ("
                       "path TEXT NOT NULL PRIMARY KEY, "
                       "size_bytes BIGINT NOT NULL, "
                       "modified_ms BIGINT NOT NULL, "
                       "sha256 TEXT NOT NULL, "
                       "model TEXT NOT NULL, "
                       "serial_number TEXT NOT NULL, "
                       "start_time BIGINT NOT NULL, "
                       "start_time_valid INTEGER NOT NULL, "
                       "start_day TEXT NOT NULL, "
                       "start_month TEXT NOT NULL, "
                       "duration_ms BIGINT NOT NULL, "
                       "event_count INTEGER NOT NULL, "
                       "shock_count INTEGER NOT NULL, "
                       "analysis_count INTEGER NOT NULL, "
                       "has_cpr_feedback INTEGER NOT NULL, "
                       "has_audio INTEGER NOT NULL, "
                       "annotation_count INTEGER NOT NULL, "
                       "patient_id TEXT NOT NULL, "
                       "last_name TEXT NOT NULL, "
                       "first_name TEXT NOT NULL, "
                       "comments TEXT NOT NULL, "
                       "indexed_at BIGINT NOT NULL)"),
        QStringLiteral("CREATE INDEX cases_start_time ON cases (start_time)"),
        QStringLiteral("CREATE INDEX cases_serial_number ON cases (serial_number)"),
        QStringLiteral("UPDATE schema_version SET version = 1"),
    };
}

QStringList version2()
{
    QStringList steps;
    for (const char *column : {"ccf DOUBLE PRECISION", "mean_rate DOUBLE PRECISION", "rate_in_target DOUBLE PRECISION",
                               "mean_depth_in DOUBLE PRECISION", "depth_in_target DOUBLE PRECISION",
                               "longest_pause_ms BIGINT", "max_pre_shock_pause_ms BIGINT",
                               "max_post_shock_pause_ms BIGINT"})
        steps << QStringLiteral("ALTER TABLE cases ADD COLUMN %1").arg(QLatin1String(column));
    steps << QStringLiteral("CREATE TABLE shocks ("
                            "case_path TEXT NOT NULL REFERENCES cases (path) ON DELETE CASCADE, "
                            "shock_index INTEGER NOT NULL, "
                            "time_ms INTEGER NOT NULL, "
                            "energy_j DOUBLE PRECISION, "
                            "pre_shock_pause_ms BIGINT, "
                            "post_shock_pause_ms BIGINT, "
                            "PRIMARY KEY (case_path, shock_index))")
          << QStringLiteral("CREATE INDEX cases_start_day ON cases (start_day)")
          << QStringLiteral("CREATE INDEX cases_start_month ON cases (start_month)")
          << QStringLiteral("CREATE INDEX cases_model ON cases (model)")
          << QStringLiteral("CREATE INDEX cases_shock_count ON cases (shock_count)")
          << QStringLiteral("CREATE INDEX cases_ccf ON cases (ccf)")
          << QStringLiteral("UPDATE schema_version SET version = 2");
    return steps;
}

// Covering indexes for the summary: each grouping column with the measures it counts and the
// path the shocks join on, so the groups, their counts and the ordered CCF values for the
// median come from the index alone, already in group and CCF order.
QStringList version3()
{
    return {
        QStringLiteral("CREATE INDEX cases_month_measures ON cases (start_month, ccf, shock_count, path)"),
        QStringLiteral("CREATE INDEX cases_serial_measures ON cases (serial_number, ccf, shock_count, path)"),
        QStringLiteral("CREATE INDEX shocks_case_pre_pause ON shocks (case_path, pre_shock_pause_ms)"),
        QStringLiteral("UPDATE schema_version SET version = 3"),
    };
}

// The summary reads every count it needs from the cases alone: each case keeps how many of
// its shocks have a known pre-shock pause and how many of those are at most 10 s, filled here
// from the shocks already stored. The covering indexes of version 3 are replaced by ones that
// hold these counts too (each starts with its grouping column, so the plain indexes on the
// month and the serial number go), and the index that served the join of the shocks goes.
QStringList version4()
{
    return {
        QStringLiteral("ALTER TABLE cases ADD COLUMN pre_shock_pauses INTEGER NOT NULL DEFAULT 0"),
        QStringLiteral("ALTER TABLE cases ADD COLUMN pre_shock_pauses_at_most_10s INTEGER NOT NULL DEFAULT 0"),
        QStringLiteral("UPDATE cases SET "
                       "pre_shock_pauses = (SELECT COUNT(s.pre_shock_pause_ms) FROM shocks s "
                       "WHERE s.case_path = cases.path), "
                       "pre_shock_pauses_at_most_10s = (SELECT COUNT(*) FROM shocks s "
                       "WHERE s.case_path = cases.path AND s.pre_shock_pause_ms <= 10000)"),
        QStringLiteral("DROP INDEX cases_month_measures"),
        QStringLiteral("DROP INDEX cases_serial_measures"),
        QStringLiteral("DROP INDEX shocks_case_pre_pause"),
        QStringLiteral("DROP INDEX cases_start_month"),
        QStringLiteral("DROP INDEX cases_serial_number"),
        QStringLiteral("CREATE INDEX cases_month_summary ON cases "
                       "(start_month, ccf, shock_count, pre_shock_pauses, pre_shock_pauses_at_most_10s)"),
        QStringLiteral("CREATE INDEX cases_serial_summary ON cases "
                       "(serial_number, ccf, shock_count, pre_shock_pauses, pre_shock_pauses_at_most_10s)"),
        QStringLiteral("UPDATE schema_version SET version = 4"),
    };
}

// The review itself, per recording (every copy of a recording shares it): each case row names
// its recording; a recording's review status (none: "new"), its editing lock, and the audit
// trail, which is append-only: the engine refuses to change or remove its rows (a server's
// reviewers are further given a role that may only insert and read it, see the README).
// The index on the start time takes the path too, the tie-break of the library's default
// order, so the library window's first page is read from it.
QStringList version5(bool postgres)
{
    QStringList steps = {
        QStringLiteral("ALTER TABLE cases ADD COLUMN recording_id TEXT NOT NULL DEFAULT ''"),
        QStringLiteral("CREATE INDEX cases_recording_id ON cases (recording_id)"),
        QStringLiteral("DROP INDEX cases_start_time"),
        QStringLiteral("CREATE INDEX cases_start_time_path ON cases (start_time, path)"),
        QStringLiteral("CREATE TABLE review_status ("
                       "recording_id TEXT NOT NULL PRIMARY KEY, "
                       "status TEXT NOT NULL, "
                       "note TEXT NOT NULL, "
                       "assignee TEXT NOT NULL, "
                       "changed_by TEXT NOT NULL, "
                       "changed_host TEXT NOT NULL, "
                       "changed_at BIGINT NOT NULL, "
                       "reviewed_by TEXT NOT NULL, "
                       "reviewed_at BIGINT)"),
        QStringLiteral("CREATE INDEX review_status_status ON review_status (status, assignee)"),
        QStringLiteral("CREATE INDEX review_status_assignee ON review_status (assignee)"),
        QStringLiteral("CREATE TABLE review_locks ("
                       "recording_id TEXT NOT NULL PRIMARY KEY, "
                       "reviewer TEXT NOT NULL, "
                       "host TEXT NOT NULL, "
                       "process_id BIGINT NOT NULL, "
                       "since BIGINT NOT NULL, "
                       "heartbeat BIGINT NOT NULL)"),
        QStringLiteral("CREATE TABLE audit (%1, "
                       "at_ms BIGINT NOT NULL, "
                       "reviewer TEXT NOT NULL, "
                       "host TEXT NOT NULL, "
                       "recording_id TEXT NOT NULL, "
                       "archive_path TEXT NOT NULL, "
                       "action TEXT NOT NULL, "
                       "details TEXT NOT NULL)")
            .arg(postgres ? QLatin1String("id BIGSERIAL PRIMARY KEY") : QLatin1String("id INTEGER PRIMARY KEY AUTOINCREMENT")),
        QStringLiteral("CREATE INDEX audit_recording ON audit (recording_id, id)"),
        QStringLiteral("CREATE INDEX audit_time ON audit (at_ms)"),
    };
    if (postgres) {
        steps << QStringLiteral("CREATE FUNCTION audit_append_only() RETURNS trigger LANGUAGE plpgsql AS "
                                "'BEGIN RAISE EXCEPTION ''the audit trail is append-only''; END'")
              << QStringLiteral("CREATE TRIGGER audit_no_change BEFORE UPDATE OR DELETE OR TRUNCATE ON audit "
                                "FOR EACH STATEMENT EXECUTE FUNCTION audit_append_only()");
    } else {
        steps << QStringLiteral("CREATE TRIGGER audit_no_update BEFORE UPDATE ON audit "
                                "BEGIN SELECT RAISE(ABORT, 'the audit trail is append-only'); END")
              << QStringLiteral("CREATE TRIGGER audit_no_delete BEFORE DELETE ON audit "
                                "BEGIN SELECT RAISE(ABORT, 'the audit trail is append-only'); END");
    }
    steps << QStringLiteral("UPDATE schema_version SET version = 5");
    return steps;
}

// The hands-off time of each case by cause and the steps to each shock. Rows indexed before
// have none of them (NULL: unknown, not 0) and are marked as read with older facts, so that
// adding their archives again reads them anew. The summary's covering indexes take the
// hands-off time and the part without a cause too, and the cases' paths with their groups
// are kept in an index, which the shocks' steps join on.
QStringList version6()
{
    QStringList steps;
    for (const QString &column : handsOffColumns())
        steps << QStringLiteral("ALTER TABLE cases ADD COLUMN %1 BIGINT").arg(column);
    steps << QStringLiteral("ALTER TABLE cases ADD COLUMN facts_version INTEGER NOT NULL DEFAULT 5");
    for (const char *column : {"analysis_ms", "charge_ms", "to_shock_ms", "hands_off_pre_shock_pause_ms"})
        steps << QStringLiteral("ALTER TABLE shocks ADD COLUMN %1 BIGINT").arg(QLatin1String(column));
    steps << QStringLiteral("DROP INDEX cases_month_summary") << QStringLiteral("DROP INDEX cases_serial_summary");
    for (const auto &[index, group] : {std::pair{"cases_month_summary", "start_month"},
                                       std::pair{"cases_serial_summary", "serial_number"}})
        steps << QStringLiteral("CREATE INDEX %1 ON cases (%2, ccf, shock_count, pre_shock_pauses, "
                                "pre_shock_pauses_at_most_10s, hands_off_ms, hands_off_other_ms)")
                     .arg(QLatin1String(index), QLatin1String(group));
    steps << QStringLiteral("CREATE INDEX cases_path_groups ON cases (path, start_month, serial_number)")
          << QStringLiteral("UPDATE schema_version SET version = 6");
    return steps;
}

// The times from power-on to a case's first analysis, shock and compression, and how many of
// its shocks had a pre-shock pause of at most 20 s. The first shock and the count come from
// the shocks already stored; the first analysis and compression are unknown (NULL) until the
// archive is read again, which the older facts version of every row asks for.
QStringList version7()
{
    return {
        QStringLiteral("ALTER TABLE cases ADD COLUMN first_analysis_ms BIGINT"),
        QStringLiteral("ALTER TABLE cases ADD COLUMN first_shock_ms BIGINT"),
        QStringLiteral("ALTER TABLE cases ADD COLUMN first_compression_ms BIGINT"),
        QStringLiteral("ALTER TABLE cases ADD COLUMN pre_shock_pauses_at_most_20s INTEGER NOT NULL DEFAULT 0"),
        QStringLiteral("UPDATE cases SET "
                       "first_shock_ms = (SELECT MIN(s.time_ms) FROM shocks s WHERE s.case_path = cases.path), "
                       "pre_shock_pauses_at_most_20s = (SELECT COUNT(*) FROM shocks s "
                       "WHERE s.case_path = cases.path AND s.pre_shock_pause_ms <= 20000)"),
        QStringLiteral("UPDATE schema_version SET version = 7"),
    };
}

} // namespace

const QStringList &handsOffColumns()
{
    static const QStringList columns = [] {
        QStringList out = {QStringLiteral("hands_off_ms")};
        for (std::size_t k = 0; k < PauseCauseCount; ++k)
            out << QStringLiteral("hands_off_%1_ms").arg(pauseCauseName(PauseCause(k)).replace(QLatin1Char('-'), QLatin1Char('_')));
        return out;
    }();
    return columns;
}

QStringList migrationStep(int version, bool postgres)
{
    switch (version) {
    case 1: return version1();
    case 2: return version2();
    case 3: return version3();
    case 4: return version4();
    case 5: return version5(postgres);
    case 6: return version6();
    case 7: return version7();
    default: return {};
    }
}

} // namespace LibrarySchema
