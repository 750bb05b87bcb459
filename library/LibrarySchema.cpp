#include "library/LibrarySchema.h"

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

} // namespace

QStringList migrationStep(int version)
{
    switch (version) {
    case 1: return version1();
    case 2: return version2();
    case 3: return version3();
    case 4: return version4();
    default: return {};
    }
}

} // namespace LibrarySchema
