#pragma once

#include "base/CTime.h"
#include "cpr/CprReviewSettings.h"
#include "library/AuditEntry.h"
#include "library/LibraryCase.h"
#include "library/LibraryStatsRow.h"

#include <QString>
#include <vector>

// The outputs of "ravelin-cli library list" and "stats". JSON: an array of objects whose
// members are the camelCase names of the records (none as null, shares 0..1); CSV: a header
// line of the same names, then one line a row (none as an empty field, RFC 4180 quoting);
// table: aligned columns for a person to read, times on the clock of the zone offsetMinutes
// east of UTC (the device's clock unless a zone was chosen).
enum class LibraryFormat { Table, Json, Csv };

// The mean depth is "meanDepthIn" in inches, or "meanDepthCm" in centimetres.
QString libraryCasesText(const std::vector<LibraryCase> &cases, LibraryFormat format,
                         CprDepthUnit unit = CprDepthUnit::Inches, int32_t offsetMinutes = DeviceClockOffsetMinutes);
// The audit trail: times in UTC ("2026-12-11T07:30:00.123Z").
QString libraryAuditText(const std::vector<AuditEntry> &entries, LibraryFormat format);
// One recording's review status, a line per fact, times in UTC.
QString reviewStatusText(const QString &recordingId, const ReviewStatus &status);
// The summary; ccfTarget is the CCF its share counts up to (0..1).
QString libraryStatsText(const std::vector<LibraryStatsRow> &rows, LibraryGrouping grouping, LibraryFormat format,
                         double ccfTarget = DefaultLibraryCcfTarget);
