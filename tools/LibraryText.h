#pragma once

#include "library/AuditEntry.h"
#include "library/LibraryCase.h"
#include "library/LibraryStatsRow.h"

#include <QString>
#include <vector>

// The outputs of "ravelin-cli library list" and "stats". JSON: an array of objects whose
// members are the camelCase names of the records (none as null, shares 0..1); CSV: a header
// line of the same names, then one line a row (none as an empty field, RFC 4180 quoting);
// table: aligned columns for a person to read, times in the device's clock.
enum class LibraryFormat { Table, Json, Csv };

QString libraryCasesText(const std::vector<LibraryCase> &cases, LibraryFormat format);
// The audit trail: times in UTC ("2026-12-11T07:30:00.123Z").
QString libraryAuditText(const std::vector<AuditEntry> &entries, LibraryFormat format);
// One recording's review status, a line per fact, times in UTC.
QString reviewStatusText(const QString &recordingId, const ReviewStatus &status);
// The summary; ccfTarget is the CCF its share counts up to (0..1).
QString libraryStatsText(const std::vector<LibraryStatsRow> &rows, LibraryGrouping grouping, LibraryFormat format,
                         double ccfTarget = DefaultLibraryCcfTarget);
