#include "library/ReviewStatusRow.h"

#include <QSqlQuery>
#include <QVariant>

QStringList reviewStatusColumns()
{
    return {QStringLiteral("r.status"), QStringLiteral("r.note"), QStringLiteral("r.assignee"), QStringLiteral("r.changed_by"),
            QStringLiteral("r.changed_host"), QStringLiteral("r.changed_at"), QStringLiteral("r.reviewed_by"),
            QStringLiteral("r.reviewed_at")};
}

ReviewStatus reviewStatusOfRow(const QSqlQuery &q, int first)
{
    ReviewStatus r;
    if (q.value(first).isNull())
        return r;
    int i = first;
    r.stage = reviewStageOfKey(q.value(i++).toString()).value_or(ReviewStatus::Stage::New);
    r.note = q.value(i++).toString();
    r.assignee = q.value(i++).toString();
    r.changedBy = q.value(i++).toString();
    r.changedHost = q.value(i++).toString();
    r.changedAt = q.value(i++).toLongLong();
    r.reviewedBy = q.value(i++).toString();
    if (!q.value(i).isNull())
        r.reviewedAt = q.value(i).toLongLong();
    return r;
}
