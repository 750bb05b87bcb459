#include "library/LibraryFilter.h"

#include <QDate>
#include <QDateTime>
#include <QTimeZone>
#include <QStringList>

namespace {

QString sortColumn(LibraryFilter::Sort sort)
{
    switch (sort) {
    case LibraryFilter::Sort::StartTime: return QStringLiteral("c.start_time");
    case LibraryFilter::Sort::Path: return QStringLiteral("c.path");
    case LibraryFilter::Sort::Serial: return QStringLiteral("c.serial_number");
    case LibraryFilter::Sort::Model: return QStringLiteral("c.model");
    case LibraryFilter::Sort::Duration: return QStringLiteral("c.duration_ms");
    case LibraryFilter::Sort::Shocks: return QStringLiteral("c.shock_count");
    case LibraryFilter::Sort::Ccf: return QStringLiteral("c.ccf");
    case LibraryFilter::Sort::MeanRate: return QStringLiteral("c.mean_rate");
    case LibraryFilter::Sort::MeanDepth: return QStringLiteral("c.mean_depth_in");
    case LibraryFilter::Sort::LongestPause: return QStringLiteral("c.longest_pause_ms");
    case LibraryFilter::Sort::PatientId: return QStringLiteral("c.patient_id");
    case LibraryFilter::Sort::LastName: return QStringLiteral("c.last_name");
    case LibraryFilter::Sort::IndexedAt: return QStringLiteral("c.indexed_at");
    // The review's stages in the order a review goes through them; a recording without a
    // status is new, one without an assignee sorts as "".
    case LibraryFilter::Sort::ReviewStage:
        return QStringLiteral("CASE COALESCE(r.status, 'new') WHEN 'new' THEN 0 WHEN 'in-review' THEN 1 "
                              "WHEN 'follow-up' THEN 2 ELSE 3 END");
    case LibraryFilter::Sort::Assignee: return QStringLiteral("COALESCE(r.assignee, '')");
    }
    return QStringLiteral("c.start_time");
}

// The CPR measures are unknown (NULL) for a case without compressions; every other sorted
// column always has a value.
bool sortColumnMayBeNull(LibraryFilter::Sort sort)
{
    using Sort = LibraryFilter::Sort;
    return sort == Sort::Ccf || sort == Sort::MeanRate || sort == Sort::MeanDepth || sort == Sort::LongestPause;
}

// A LIKE pattern matching text anywhere, its wildcards taken literally ('!' escapes).
QString containsPattern(const QString &text)
{
    QString escaped = text.toLower();
    escaped.replace(QLatin1Char('!'), QLatin1String("!!"));
    escaped.replace(QLatin1Char('%'), QLatin1String("!%"));
    escaped.replace(QLatin1Char('_'), QLatin1String("!_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

} // namespace

QString checkedLibraryDay(const QString &text, QString &why)
{
    const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid() || text.size() != 10) {
        why = QStringLiteral("\"%1\" is not a date YYYY-MM-DD").arg(text);
        return QString();
    }
    return text;
}

int64_t libraryDayStart(const QString &day, int32_t offsetMinutes)
{
    const QDate date = QDate::fromString(day, QStringLiteral("yyyy-MM-dd"));
    return date.startOfDay(QTimeZone::utc()).toSecsSinceEpoch() - int64_t(offsetMinutes) * 60;
}

CTime libraryClockTime(int64_t epochSeconds, int32_t offsetMinutes)
{
    return CTime(epochSeconds + int64_t(offsetMinutes - DeviceClockOffsetMinutes) * 60);
}

QString libraryDayOf(int64_t epochSeconds, int32_t offsetMinutes)
{
    return libraryClockTime(epochSeconds, offsetMinutes).Format("%Y-%m-%d");
}

QString libraryMonthOf(int64_t epochSeconds, int32_t offsetMinutes)
{
    return libraryDayOf(epochSeconds, offsetMinutes).left(7);
}

QString libraryMonthSql(int32_t offsetMinutes, bool postgres)
{
    if (offsetMinutes == DeviceClockOffsetMinutes)
        return QStringLiteral("c.start_month");
    const QString shifted = QStringLiteral("c.start_time + %1").arg(int64_t(offsetMinutes) * 60);
    const QString month = postgres ? QStringLiteral("to_char(to_timestamp(%1) AT TIME ZONE 'UTC', 'YYYY-MM')").arg(shifted)
                                   : QStringLiteral("strftime('%Y-%m', %1, 'unixepoch')").arg(shifted);
    return QStringLiteral("(CASE WHEN c.start_time_valid = 1 THEN %1 ELSE '' END)").arg(month);
}

LibraryWhere libraryWhere(const LibraryFilter &filter)
{
    QStringList terms;
    LibraryWhere where;
    // The days are instants in the filter's zone; a case without a valid start is never inside
    // a range.
    if (!filter.fromDay.isEmpty()) {
        terms << QStringLiteral("c.start_time >= ? AND c.start_time_valid = 1");
        where.values << qlonglong(libraryDayStart(filter.fromDay, filter.zoneOffsetMinutes));
    }
    if (!filter.toDay.isEmpty()) {
        terms << QStringLiteral("c.start_time < ? AND c.start_time_valid = 1");
        where.values << qlonglong(libraryDayStart(filter.toDay, filter.zoneOffsetMinutes) + 86400);
    }
    if (!filter.serialNumber.isEmpty()) {
        terms << QStringLiteral("c.serial_number = ?");
        where.values << filter.serialNumber;
    }
    if (!filter.model.isEmpty()) {
        terms << QStringLiteral("c.model = ?");
        where.values << filter.model.toUpper();
    }
    if (filter.minShocks) {
        terms << QStringLiteral("c.shock_count >= ?");
        where.values << *filter.minShocks;
    }
    if (filter.ccfBelow) {
        terms << QStringLiteral("c.ccf < ?");
        where.values << *filter.ccfBelow;
    }
    if (!filter.search.isEmpty()) {
        QStringList any;
        for (const char *column : {"c.patient_id", "c.last_name", "c.first_name", "c.comments"}) {
            any << QStringLiteral("LOWER(%1) LIKE ? ESCAPE '!'").arg(QLatin1String(column));
            where.values << containsPattern(filter.search);
        }
        terms << QLatin1Char('(') + any.join(QLatin1String(" OR ")) + QLatin1Char(')');
    }
    if (filter.stage) {
        // A recording without a row has not been touched: it is new.
        terms << (*filter.stage == ReviewStatus::Stage::New ? QStringLiteral("(r.status IS NULL OR r.status = ?)")
                                                             : QStringLiteral("r.status = ?"));
        where.values << reviewStageKey(*filter.stage);
    }
    if (!filter.assignee.isEmpty()) {
        terms << QStringLiteral("r.assignee = ?");
        where.values << filter.assignee;
    }
    if (!terms.isEmpty())
        where.sql = QStringLiteral(" WHERE ") + terms.join(QLatin1String(" AND "));
    return where;
}

QString libraryReviewJoin(const LibraryFilter &filter, bool always)
{
    if (!always && !filter.stage && filter.assignee.isEmpty())
        return QString();
    return QStringLiteral(" LEFT JOIN review_status r ON r.recording_id = c.recording_id AND c.recording_id <> ''");
}

QString libraryOrderBy(const LibraryFilter &filter)
{
    const QString column = sortColumn(filter.sort);
    const QString direction = filter.descending ? QStringLiteral(" DESC") : QString();
    if (filter.sort == LibraryFilter::Sort::Path)
        return QStringLiteral(" ORDER BY c.path") + direction;
    // Without the NULL term the order is an index's (start time and path for the default),
    // so a first page is read from the index instead of sorting every case.
    if (!sortColumnMayBeNull(filter.sort))
        return QStringLiteral(" ORDER BY %1%2, c.path").arg(column, direction);
    return QStringLiteral(" ORDER BY (%1 IS NULL), %1%2, c.path").arg(column, direction);
}
