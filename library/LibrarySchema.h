#pragma once

#include <QStringList>

class QSqlDatabase;

// The tables of the case library, the same on SQLite and PostgreSQL. Version 1 held the
// cases and their facts; version 2 added the CPR quality measures and one row per shock;
// version 3 added covering indexes for the summary by month and by device; version 4 keeps
// each case's counts of shocks with a known pre-shock pause (all, and those of at most 10 s)
// beside it, so the summary needs no join, with covering indexes that hold them.
// A library is brought forward one version at a time; the table schema_version holds the
// version it has reached.
namespace LibrarySchema {

constexpr int LatestVersion = 4;

// The statements that take a library from version - 1 to version (1..LatestVersion); the
// last one records the new version.
QStringList migrationStep(int version);

} // namespace LibrarySchema
