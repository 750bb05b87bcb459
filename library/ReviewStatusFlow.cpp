#include "library/ReviewStatusFlow.h"

#include "base/LanguagePack.h"
#include "base/MessageTexts.h"
#include "base/Platform.h"
#include "library/LibraryService.h"

#include <QDateTime>
#include <QStringList>
#include <QTimeZone>

namespace {

constexpr ReviewStatus::Stage Stages[] = {ReviewStatus::Stage::New, ReviewStatus::Stage::InReview,
                                          ReviewStatus::Stage::Reviewed, ReviewStatus::Stage::FollowUp};

} // namespace

bool ChangeReviewStatus(Platform &platform, LibraryService &service, const LanguagePack &texts,
                        const QString &recordingId, const QString &archivePath)
{
    if (recordingId.isEmpty())
        return false;
    const QString caption = texts.GetText(MessageText::ReviewStatusCaption);
    const std::optional<ReviewStatus> now = service.reviewStatus(recordingId);
    if (!now)
        return false;
    QStringList items;
    int index = 0;
    for (int i = 0; i < int(std::size(Stages)); ++i) {
        items << reviewStageText(Stages[i]);
        if (Stages[i] == now->stage)
            index = i;
    }
    if (!platform.askChoice(caption, texts.GetText(MessageText::ReviewStageQuestion), items, index))
        return false;
    QString assignee = now->assignee;
    if (!platform.askText(caption, texts.GetText(MessageText::ReviewAssigneeQuestion), assignee))
        return false;
    ReviewStatusChange change;
    change.stage = Stages[index];
    change.assignee = assignee.trimmed();
    if (Stages[index] == ReviewStatus::Stage::FollowUp) {
        QString note = now->note;
        if (!platform.askText(caption, texts.GetText(MessageText::ReviewFollowUpQuestion), note))
            return false;
        change.note = note.trimmed().left(500);
    } else {
        change.note = QString();
    }
    return service.changeReviewStatus(recordingId, archivePath, change);
}

QString ReviewStatusLine(LibraryService &service, const QString &recordingId)
{
    if (recordingId.isEmpty())
        return QString();
    const std::optional<ReviewStatus> status = service.reviewStatus(recordingId);
    if (!status)
        return QString();
    QString line = reviewStageText(status->stage);
    if (status->stage == ReviewStatus::Stage::Reviewed && status->reviewedAt)
        line += QStringLiteral(" by %1, %2 UTC")
                    .arg(status->reviewedBy,
                         QDateTime::fromSecsSinceEpoch(*status->reviewedAt, QTimeZone::utc())
                             .toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    if (!status->assignee.isEmpty())
        line += QStringLiteral(", assigned to %1").arg(status->assignee);
    return line;
}
