#pragma once

#include <QStringList>

class QSqlDatabase;

// The tables of the case library, the same on SQLite and PostgreSQL. Version 1 held the
// cases and their facts; version 2 added the CPR quality measures and one row per shock;
// version 3 added covering indexes for the summary by month and by device; version 4 keeps
// each case's counts of shocks with a known pre-shock pause (all, and those of at most 10 s)
// beside it, so the summary needs no join, with covering indexes that hold them; version 5
// adds the review: each case's recording ID, a review status and an editing lock per
// recording, and the append-only audit trail.
// A library is brought forward one version at a time; the table schema_version holds the
// version it has reached.
namespace LibrarySchema {

constexpr int LatestVersion = 5;

// The statements that take a library from version - 1 to version (1..LatestVersion); the
// last one records the new version. The engines differ only where the audit trail is made
// append-only and numbered.
QStringList migrationStep(int version, bool postgres);

} // namespace LibrarySchema
