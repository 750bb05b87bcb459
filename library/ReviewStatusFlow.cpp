#include "library/ReviewStatusFlow.h"

#include "base/LanguagePack.h"
#include "base/MessageTexts.h"
#include "base/Platform.h"
#include "library/LibraryService.h"
#include "library/LibraryText.h"

#include <QDateTime>
#include <QStringList>
#include <QTimeZone>

namespace {

constexpr ReviewStatus::Stage Stages[] = {ReviewStatus::Stage::New, ReviewStatus::Stage::InReview,
                                          ReviewStatus::Stage::Reviewed, ReviewStatus::Stage::FollowUp};

// A stage as the pack words it: "in review", "in revisione".
QString stageText(ReviewStatus::Stage stage, const LanguagePack &texts)
{
    switch (stage) {
    case ReviewStatus::Stage::New: return texts.GetText(LibraryText::StageNew);
    case ReviewStatus::Stage::InReview: return texts.GetText(LibraryText::StageInReview);
    case ReviewStatus::Stage::Reviewed: return texts.GetText(LibraryText::StageReviewed);
    case ReviewStatus::Stage::FollowUp: return texts.GetText(LibraryText::StageFollowUp);
    }
    return reviewStageText(stage);
}

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
        items << stageText(Stages[i], texts);
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

QString ReviewStatusLine(LibraryService &service, const LanguagePack &texts, const QString &recordingId)
{
    if (recordingId.isEmpty())
        return QString();
    const std::optional<ReviewStatus> status = service.reviewStatus(recordingId);
    if (!status)
        return QString();
    QString line = stageText(status->stage, texts);
    if (status->stage == ReviewStatus::Stage::Reviewed && status->reviewedAt)
        line += texts.GetText(MessageText::ReviewedByAt)
                    .arg(status->reviewedBy,
                         QDateTime::fromSecsSinceEpoch(*status->reviewedAt, QTimeZone::utc())
                             .toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    if (!status->assignee.isEmpty())
        line += texts.GetText(MessageText::AssignedTo).arg(status->assignee);
    return line;
}
