#include "library/ReviewStatus.h"

namespace {

struct StageName
{
    ReviewStatus::Stage stage;
    const char *key;
    const char *text;
};

constexpr StageName Stages[] = {
    {ReviewStatus::Stage::New, "new", "new"},
    {ReviewStatus::Stage::InReview, "in-review", "in review"},
    {ReviewStatus::Stage::Reviewed, "reviewed", "reviewed"},
    {ReviewStatus::Stage::FollowUp, "follow-up", "follow-up"},
};

} // namespace

QString reviewStageKey(ReviewStatus::Stage stage)
{
    for (const StageName &s : Stages)
        if (s.stage == stage)
            return QLatin1String(s.key);
    return QStringLiteral("new");
}

QString reviewStageText(ReviewStatus::Stage stage)
{
    for (const StageName &s : Stages)
        if (s.stage == stage)
            return QLatin1String(s.text);
    return QStringLiteral("new");
}

std::optional<ReviewStatus::Stage> reviewStageOfKey(const QString &key)
{
    const QString k = key.trimmed().toLower();
    for (const StageName &s : Stages)
        if (k == QLatin1String(s.key) || k == QLatin1String(s.text))
            return s.stage;
    return std::nullopt;
}
