#pragma once

#include <QStringList>

class QSqlDatabase;

// The tables of the case library, the same on SQLite and PostgreSQL. Version 1 held the
// cases and their facts; version 2 added the CPR quality measures and one row per shock;
// version 3 added covering indexes for the summary by month and by device; version 4 keeps
// each case's counts of shocks with a known pre-shock pause (all, and those of at most 10 s)
// beside it, so the summary needs no join, with covering indexes that hold them; version 5
// adds the review: each case's recording ID, a review status and an editing lock per
// recording, and the append-only audit trail; version 6 keeps each case's hands-off time by
// cause and each shock's analysis, charge and to-shock times, and which version of the facts
// a row was read with; version 7 keeps each case's times from power-on to its first analysis,
// shock and compression, and its count of shocks with a pre-shock pause of at most 20 s.
// A library is brought forward one version at a time; the table schema_version holds the
// version it has reached.
namespace LibrarySchema {

constexpr int LatestVersion = 7;
// The facts a row written now holds: a row of older facts is read again when its archive is
// added again.
constexpr int FactsVersion = 7;

// hands_off_ms (the whole hands-off time), then hands_off_<cause>_ms for every cause in
// PauseCause order ("hands_off_until_analysis_ms" .. "hands_off_transport_ms").
const QStringList &handsOffColumns();

// The statements that take a library from version - 1 to version (1..LatestVersion); the
// last one records the new version. The engines differ only where the audit trail is made
// append-only and numbered.
QStringList migrationStep(int version, bool postgres);

} // namespace LibrarySchema
