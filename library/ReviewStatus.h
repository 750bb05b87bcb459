#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// Where the review of a recording stands. Every copy of a recording shares it. A recording
// nobody has touched is new; opening it for review moves it to in review; a reviewer closes it
// as reviewed or asks for a follow-up (with a short note).
struct ReviewStatus
{
    enum class Stage { New, InReview, Reviewed, FollowUp };

    Stage stage = Stage::New;
    QString note;            // the follow-up's note ("" when none)
    QString assignee;        // who is to review it ("" when nobody)
    QString changedBy;       // the reviewer of the last change, and their computer
    QString changedHost;
    int64_t changedAt = 0;   // epoch seconds, UTC (0: never changed)
    QString reviewedBy;      // who set it reviewed, and when ("" / none before)
    std::optional<int64_t> reviewedAt;
};

// The stage as the command line and the library's tables write it: "new", "in-review",
// "reviewed", "follow-up"; and back (none for another text).
QString reviewStageKey(ReviewStatus::Stage stage);
std::optional<ReviewStatus::Stage> reviewStageOfKey(const QString &key);
// The stage as people read it: "new", "in review", "reviewed", "follow-up".
QString reviewStageText(ReviewStatus::Stage stage);

// A change of a recording's review: each part that is set replaces what is there.
struct ReviewStatusChange
{
    std::optional<ReviewStatus::Stage> stage;
    std::optional<QString> assignee;
    std::optional<QString> note;
    bool isEmpty() const { return !stage && !assignee && !note; }
};
