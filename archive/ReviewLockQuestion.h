#pragma once

#include <QString>

class LanguagePack;
class Platform;
class ReviewLock;

// How an open for review goes on once the case's lock was asked for.
struct LockDecision
{
    enum class Open { ForEditing, ReadOnly, NotOpened };
    Open open = Open::ForEditing;
    bool held = false;      // the lock is ours now (it is kept with the case)
    bool takenOver = false; // ... taken over from a reviewer who gave no sign of life
};

// Asks for the review lock of the archive at archivePath before its case is shown. Taken:
// the case opens for editing. Held by another reviewer: one question says who, where and since
// when, and offers the case read-only (No: it is not opened). Stale: after that question's No a
// second one offers to take the lock over (Yes: it is taken and the case opens for editing; No:
// not opened). Failed: the case opens for editing with one warning naming the file and why.
LockDecision AskForReviewLock(Platform &platform, const LanguagePack &texts, const QString &caption, ReviewLock &lock,
                              const QString &archivePath);
