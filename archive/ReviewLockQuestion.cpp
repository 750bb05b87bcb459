#include "archive/ReviewLockQuestion.h"

#include "base/Platform.h"
#include "case/ReviewLockText.h"

LockDecision AskForReviewLock(Platform &platform, const LanguagePack &texts, const QString &caption, ReviewLock &lock,
                              const QString &archivePath)
{
    using Outcome = ReviewLock::Outcome;
    LockDecision decision;
    LockHolder holder;
    QString why;
    Outcome outcome = lock.take(false, holder, why);
    // A take-over can lose to another reviewer who took the lock a moment before: then that
    // reviewer is the one asked about. Each round asks the reviewer something, so it ends.
    for (bool takingOver = false;;) {
        switch (outcome) {
        case Outcome::Taken:
            decision.held = true;
            decision.takenOver = takingOver;
            return decision;
        case Outcome::Failed:
            platform.messageBox(ReviewLockText::notLockedWarning(texts, archivePath, why), caption, Platform::Icon::Warning,
                                Platform::Buttons::Ok);
            return decision;
        case Outcome::Held:
        case Outcome::Stale:
            break;
        }
        if (platform.messageBox(ReviewLockText::openReadOnlyQuestion(texts, holder, outcome == Outcome::Stale), caption, Platform::Icon::Question,
                                Platform::Buttons::YesNo)
            == Platform::Answer::Yes) {
            decision.open = LockDecision::Open::ReadOnly;
            return decision;
        }
        if (outcome != Outcome::Stale
            || platform.messageBox(ReviewLockText::takeOverQuestion(texts, holder), caption, Platform::Icon::Question,
                                   Platform::Buttons::YesNo)
                != Platform::Answer::Yes) {
            decision.open = LockDecision::Open::NotOpened;
            return decision;
        }
        takingOver = true;
        outcome = lock.take(true, holder, why);
    }
}
