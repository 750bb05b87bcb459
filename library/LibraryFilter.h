#pragma once

#include "base/CTime.h"
#include "library/ReviewStatus.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <optional>

// Which indexed cases a list or the statistics take, and in which order a list shows them.
// Empty texts and unset values filter nothing.
struct LibraryFilter
{
    // Columns a list can be ordered by.
    enum class Sort { StartTime, Path, Serial, Model, Duration, Shocks, Ccf, MeanRate, MeanDepth, LongestPause,
                      PatientId, LastName, IndexedAt, ReviewStage, Assignee };

    QString fromDay;                 // "YYYY-MM-DD": started on this day or later
    QString toDay;                   // "YYYY-MM-DD": started on this day or earlier
    QString serialNumber;            // exactly
    QString model;                   // "Q21", "Q25" or "Q26"
    std::optional<int> minShocks;
    std::optional<double> ccfBelow;  // strictly below; a case without a CCF never matches
    QString search;                  // part of the patient ID, a name or the comments, any case
    std::optional<ReviewStatus::Stage> stage; // the review of the case's recording is at this stage
    QString assignee;                // the review of the case's recording is assigned to this reviewer
    Sort sort = Sort::StartTime;
    bool descending = false;
    // The zone whose calendar the days above, a list's days and the summary's months are, in
    // minutes east of UTC: the device's clock unless a zone was chosen.
    int32_t zoneOffsetMinutes = DeviceClockOffsetMinutes;
};

// The first second (epoch seconds) of a real day "YYYY-MM-DD" in a zone offsetMinutes east of UTC.
int64_t libraryDayStart(const QString &day, int32_t offsetMinutes);
// An instant as a CTime whose calendar fields read the wall clock of a zone offsetMinutes east
// of UTC.
CTime libraryClockTime(int64_t epochSeconds, int32_t offsetMinutes);
// The calendar day ("2021-03-07") and month ("2021-03") of an instant in that zone.
QString libraryDayOf(int64_t epochSeconds, int32_t offsetMinutes);
QString libraryMonthOf(int64_t epochSeconds, int32_t offsetMinutes);
// The month of a case's start in that zone as SQL over the table "cases" named c ('' for a case
// without a valid start): the stored month on the device's clock, else computed by the engine.
QString libraryMonthSql(int32_t offsetMinutes, bool postgres);

// The day of a date text "YYYY-MM-DD" if it is a real date, else "" (and why says so).
QString checkedLibraryDay(const QString &text, QString &why);

// The filter as SQL over the table "cases" named c, joined with its recording's review status
// named r (libraryReviewJoin): " WHERE ..." (or "") with its values in
// the order of their placeholders, and the ORDER BY clause of its sort. Cases without the
// sorted measure come last in both directions, then ties go by path, so that every engine
// lists the same rows in the same order.
struct LibraryWhere
{
    QString sql;
    QList<QVariant> values;
};
LibraryWhere libraryWhere(const LibraryFilter &filter);
// " LEFT JOIN review_status r ..." when the filter needs it (or always), else "".
QString libraryReviewJoin(const LibraryFilter &filter, bool always = false);
QString libraryOrderBy(const LibraryFilter &filter);
