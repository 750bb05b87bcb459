#pragma once

#include <QString>

class LanguagePack;
class LibraryService;
class Platform;

// "Review status..." of a case (its context menu and its General tab): the stage of its
// recording's review, who it is assigned to and, for a follow-up, a short note, asked one after
// another and kept in the case library (audited there). False when cancelled, or without a
// usable library (its message was shown) or a recording ID.
bool ChangeReviewStatus(Platform &platform, LibraryService &service, const LanguagePack &texts,
                        const QString &recordingId, const QString &archivePath);

// How the General tab shows a recording's review: "in review", "follow-up, assigned to Bob",
// "reviewed by Ann, 2026-12-11 07:30 UTC"; "" without a library.
QString ReviewStatusLine(LibraryService &service, const LanguagePack &texts, const QString &recordingId);
